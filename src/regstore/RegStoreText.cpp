#include "regstore/RegStoreText.h"

#include "platform/RegNames.h"

#include <algorithm>

namespace tk {

namespace {

const char* const kEmptyText = "REGEDIT4\r\n";

// Sections are checked a run at a time, read together up to about this size.
constexpr std::size_t kCheckBytes = std::size_t{1} << 20;

RegRoot RootOf(std::string_view identity)
{
    return static_cast<RegRoot>(identity.front() - '0');
}

std::vector<const RegText*> Pointers(const std::vector<std::shared_ptr<const RegText>>& texts)
{
    std::vector<const RegText*> pointers;
    for (const auto& text : texts)
        pointers.push_back(text.get());
    return pointers;
}

} // namespace

RegStoreText::RegStoreText(std::vector<std::shared_ptr<const RegText>> texts, RegFileIndex index,
                           std::vector<bool> checked)
    : texts_(std::move(texts)), index_(std::move(index)), keys_(index_.KeyCount()), checked_(std::move(checked))
{
}

Result<RegStoreText, RegFileError> RegStoreText::Indexed(std::vector<std::shared_ptr<const RegText>> texts,
                                                         std::vector<bool> checked)
{
    auto index = IndexRegTexts(Pointers(texts));
    if (index)
        return RegStoreText(std::move(texts), std::move(index.Value()), std::move(checked));
    // A fault in the lines of a section before the key line at fault comes
    // first in the file, and is the one to tell.
    RegFileIndexFault fault = index.Error();
    RegStoreText before(std::move(texts), std::move(fault.before), std::move(checked));
    if (auto earlier = before.CheckAll(); !earlier)
        return earlier.Error();
    return fault.error;
}

RegStoreText RegStoreText::Empty(const std::string& fileName)
{
    return Changed(kEmptyText, RegText::Held(kEmptyText, fileName));
}

Result<RegStoreText, RegFileError> RegStoreText::Read(RegText file)
{
    return Indexed({std::make_shared<const RegText>(std::move(file))}, {false});
}

// The text is the store's own writing, so its index cannot fail.
RegStoreText RegStoreText::Changed(std::string written, RegText file)
{
    const RegText held = RegText::Held(std::move(written), file.FileName());
    const RegText* const pointer = &held;
    auto index = IndexRegTexts(std::span(&pointer, 1));
    return RegStoreText({std::make_shared<const RegText>(std::move(file))}, std::move(index.Value()), {true});
}

Result<RegStoreText, RegFileError> RegStoreText::ReadChecked(RegText file)
{
    auto text = Read(std::move(file));
    if (!text)
        return text;
    if (auto checked = text.Value().CheckAll(); !checked)
        return checked.Error();
    return text;
}

Result<RegStoreText, RegFileError> RegStoreText::WithImport(const RegStoreText& store, const RegStoreText& file)
{
    return Indexed({store.texts_.front(), file.texts_.front()}, {store.checked_.front(), true});
}

RegFileError RegStoreText::InFile(RegFileError error, std::size_t section) const
{
    // Parsed as lines on their own, the section's lines are numbered from 1.
    if (error.line > 0)
        error.line += TextOf(section).LineAt(index_.sections[section].header) - 1;
    return error;
}

Result<RegFileSection, RegFileError> RegStoreText::ParseSection(std::size_t section, std::string_view bytes) const
{
    const RegText& text = TextOf(section);
    auto document = ParseRegFileLines(bytes, 1, text.FileName(), text.Format());
    if (!document)
        return InFile(document.Error(), section);
    return std::move(document.Value().sections.front());
}

Result<std::vector<std::string>, RegFileError> RegStoreText::Comments(std::size_t text, std::size_t from,
                                                                       std::size_t to) const
{
    if (from >= to)
        return std::vector<std::string>();
    std::string buffer;
    const RegText& source = *texts_[text];
    const auto bytes = source.Read(from, to, buffer);
    if (!bytes)
        return bytes.Error();
    // Blank lines and comments only, which cannot fail to parse.
    auto lines = ParseRegFileLines(bytes.Value(), 1, source.FileName());
    if (!lines)
        return lines.Error();
    return std::move(lines.Value().closingComments);
}

// Each name as the section that made its key spells it, as a rewrite of
// the whole file would.
Result<std::string, RegFileError> RegStoreText::SpelledPath(std::size_t key) const
{
    const std::string_view identity = index_.KeyIdentity(key);
    std::string path;
    std::size_t spelledBy = index_.sections.size();
    std::vector<std::string> names;
    std::string buffer;
    for (std::size_t depth = 0, at = identity.find('\\'); at != std::string_view::npos; ++depth) {
        const std::size_t end = std::min(identity.find('\\', at + 1), identity.size());
        const auto ancestor = index_.FindKey(identity.substr(0, end));
        const std::size_t section = ancestor ? index_.SpelledBy(*ancestor) : index_.SpelledBy(key);
        if (section != spelledBy) {
            const RegFileIndex::Section& s = index_.sections[section];
            const RegText& text = TextOf(section);
            std::string_view line;
            for (std::size_t length = 256;; length *= 2) {
                const std::size_t lineEnd = std::min<std::size_t>(index_.End(section), s.header + length);
                const auto bytes = text.Read(s.header, lineEnd, buffer);
                if (!bytes)
                    return bytes.Error();
                line = bytes.Value().substr(0, bytes.Value().find('\n'));
                if (line.size() < bytes.Value().size() || lineEnd == index_.End(section))
                    break;
            }
            const auto parsed = ParseRegKeyLine(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
            const auto split = parsed ? SplitKeyPath(parsed.Value().subKey) : std::nullopt;
            names.clear();
            for (const std::string_view name : split.value_or(std::vector<std::string_view>()))
                names.emplace_back(name);
            spelledBy = section;
        }
        if (!path.empty())
            path += '\\';
        path += depth < names.size() ? names[depth] : std::string(identity.substr(at + 1, end - at - 1));
        at = end < identity.size() ? end : std::string_view::npos;
    }
    return path;
}

Result<StoredKey, RegFileError> RegStoreText::Build(std::size_t key, bool keyComments) const
{
    StoredKey built{RootOf(index_.KeyIdentity(key)), {}, {}, {}};
    std::string buffer;
    for (const std::uint32_t s : index_.ValueSections(key)) {
        const RegFileIndex::Section& section = index_.sections[s];
        const auto bytes = TextOf(s).Read(section.header, index_.End(s), buffer);
        if (!bytes)
            return bytes.Error();
        const auto parsed = ParseSection(s, bytes.Value());
        if (!parsed)
            return parsed.Error();
        if (index_.Canonical())
            built.path = JoinedKeyPath(parsed.Value().subKey);
        built.Apply(parsed.Value(), section.text == 0);
        if (keyComments && section.text == 0) {
            auto comments = Comments(0, index_.LeadStart(s), section.header);
            if (!comments)
                return comments.Error();
            built.comments.insert(built.comments.end(), comments.Value().begin(), comments.Value().end());
        }
    }
    if (!index_.Canonical()) {
        auto path = SpelledPath(key);
        if (!path)
            return path.Error();
        built.path = std::move(path.Value());
    }
    return built;
}

Result<const StoredKey*, RegFileError> RegStoreText::Key(std::size_t key)
{
    if (!keys_[key]) {
        auto built = Build(key, !index_.Canonical());
        if (!built)
            return built.Error();
        keys_[key] = std::make_unique<StoredKey>(std::move(built.Value()));
    }
    return keys_[key].get();
}

Result<const StoredKey*, RegFileError> RegStoreText::Find(std::string_view identity)
{
    const auto key = index_.FindKey(identity);
    if (!key)
        return static_cast<const StoredKey*>(nullptr);
    return Key(*key);
}

Result<void, RegFileError> RegStoreText::CheckAll()
{
    std::string buffer;
    for (std::size_t t = 0; t < index_.texts.size(); ++t) {
        if (checked_[t])
            continue;
        const RegFileIndex::Text& part = index_.texts[t];
        for (std::size_t first = part.firstSection; first < part.endSection;) {
            std::size_t end = first + 1;
            while (end < part.endSection && index_.End(end) - index_.sections[first].header < kCheckBytes)
                ++end;
            const std::size_t from = index_.sections[first].header;
            const auto bytes = texts_[t]->Read(from, index_.End(end - 1), buffer);
            if (!bytes)
                return bytes.Error();
            for (std::size_t s = first; s < end; ++s) {
                // A key parsed already had its one section parsed.
                if (index_.Canonical() && keys_[s])
                    continue;
                const std::string_view lines =
                    bytes.Value().substr(index_.sections[s].header - from, index_.End(s) - index_.sections[s].header);
                if (auto checked = CheckRegFileLines(lines, 1, texts_[t]->FileName(), texts_[t]->Format()); !checked)
                    return InFile(checked.Error(), s);
            }
            first = end;
        }
        checked_[t] = true;
    }
    return {};
}

Result<void, RegFileError> RegStoreText::AppendBytes(std::string& out, std::size_t from, std::size_t to) const
{
    std::string buffer;
    for (std::size_t at = from; at < to;) {
        const std::size_t end = std::min(to, at + kCheckBytes);
        const auto bytes = texts_.front()->Read(at, end, buffer);
        if (!bytes)
            return bytes.Error();
        out.append(bytes.Value());
        at = end;
    }
    return {};
}

Result<std::vector<std::string>, RegFileError> RegStoreText::ClosingComments() const
{
    return Comments(0, index_.ClosingStart(0), index_.texts.front().size);
}

} // namespace tk
