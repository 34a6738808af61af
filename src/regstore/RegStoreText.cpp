#include "regstore/RegStoreText.h"

#include "platform/RegNames.h"
#include "regfile/RegLines.h"

#include <algorithm>
#include <deque>
#include <optional>

namespace regstore {

namespace {

const char* const kEmptyText = "REGEDIT4\r\n";

// Sections are checked a run at a time, read together up to about this size:
// a large store in a few reads, and no more of it in memory at once than a
// long change holds of its new text.
constexpr std::size_t kCheckBytes = std::size_t{256} << 10;
// Sections checked as one text are about this size at most: the list of
// their lines stays small enough for the memory freed by the run before.
constexpr std::size_t kCheckedTogether = std::size_t{32} << 10;

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// The line that ends just before `end`, after its line end if it has one:
// where it starts, and its text without blanks around it.
std::pair<std::size_t, std::string_view> LineBefore(std::string_view text, std::size_t end)
{
    const std::size_t lineEnd = text[end - 1] == '\n' ? end - 1 : end;
    const std::size_t start = lineEnd == 0 ? 0 : text.rfind('\n', lineEnd - 1) + 1;
    return {start, regfile::reglines::Trim(regfile::reglines::LineText(text, start, lineEnd))};
}

// Backward from the end of `bytes` over lines that are blank or comments:
// where they start, after the line end of the line above them; kNone when
// that is the first line of `bytes`, which `cut` may have cut short.
std::size_t SignificantEnd(std::string_view bytes, bool cut)
{
    for (std::size_t end = bytes.size(); end > 0;) {
        const auto [start, text] = LineBefore(bytes, end);
        if (start == 0 && cut)
            return kNone;
        if (!text.empty() && text.front() != ';')
            return end;
        end = start;
    }
    return cut ? kNone : 0;
}

platform::RegRoot RootOf(std::string_view identity)
{
    return static_cast<platform::RegRoot>(identity.front() - '0');
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
    : texts_(std::move(texts)), index_(std::move(index)), keys_(index_.KeyCount()), checked_(std::move(checked)),
      copied_(index_.sections.size())
{
}

platform::Result<RegStoreText, regfile::RegFileError> RegStoreText::Indexed(std::vector<std::shared_ptr<const RegText>> texts,
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

platform::Result<RegStoreText, regfile::RegFileError> RegStoreText::Read(RegText file)
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

platform::Result<RegStoreText, regfile::RegFileError> RegStoreText::ImportInto(const RegStoreText& store, RegText file)
{
    // The store's text counts as checked while the file is: a fault found
    // in it is the store's, which the change tells.
    auto combined = Indexed({store.texts_.front(), std::make_shared<const RegText>(std::move(file))}, {true, false});
    if (!combined)
        return combined;
    if (auto checked = combined.Value().CheckAll(); !checked)
        return checked.Error();
    combined.Value().checked_.front() = store.checked_.front();
    return combined;
}

platform::Result<RegStoreText, regfile::RegFileError> RegStoreText::WithImport(const RegStoreText& store, const RegStoreText& imported)
{
    auto combined = Indexed({store.texts_.front(), imported.texts_.back()}, {store.checked_.front(), true});
    if (combined) {
        // The file's sections follow the store's, as its check found them.
        const RegFileIndex::Text& file = imported.index_.texts.back();
        std::copy(imported.copied_.begin() + file.firstSection, imported.copied_.begin() + file.endSection,
                  combined.Value().copied_.begin() + combined.Value().index_.texts.back().firstSection);
    }
    return combined;
}

regfile::RegFileError RegStoreText::InFile(regfile::RegFileError error, std::size_t section) const
{
    // Parsed as lines on their own, the section's lines are numbered from 1.
    if (error.line > 0)
        error.line += TextOf(section).LineAt(index_.sections[section].header) - 1;
    return error;
}

platform::Result<regfile::RegFileSection, regfile::RegFileError> RegStoreText::ParseSection(std::size_t section, std::string_view bytes) const
{
    const RegText& text = TextOf(section);
    auto document = ParseRegFileLines(bytes, 1, text.FileName(), text.Format());
    if (!document)
        return InFile(document.Error(), section);
    return std::move(document.Value().sections.front());
}

platform::Result<std::vector<std::string>, regfile::RegFileError> RegStoreText::Comments(std::size_t text, std::size_t from,
                                                                       std::size_t to) const
{
    if (from >= to)
        return std::vector<std::string>();
    std::string buffer;
    const RegText& source = *texts_[text];
    const auto bytes = source.Read(from, to, buffer);
    if (!bytes)
        return bytes.Error();
    // Blank lines alone between two sections are the common case.
    if (bytes.Value().find(';') == std::string_view::npos)
        return std::vector<std::string>();
    // Blank lines and comments only, which cannot fail to parse.
    auto lines = regfile::ParseRegFileLines(bytes.Value(), 1, source.FileName());
    if (!lines)
        return lines.Error();
    return std::move(lines.Value().closingComments);
}

platform::Result<std::string_view, regfile::RegFileError> RegStoreText::KeyLineSubKey(std::size_t section, std::string& buffer) const
{
    const std::size_t header = index_.sections[section].header;
    const std::size_t end = index_.End(section);
    for (std::size_t length = 256;; length *= 2) {
        const std::size_t lineEnd = std::min(end, header + length);
        const auto bytes = TextOf(section).Read(header, lineEnd, buffer);
        if (!bytes)
            return bytes.Error();
        const std::size_t newline = bytes.Value().find('\n');
        if (newline == std::string_view::npos && lineEnd < end)
            continue;
        std::string_view line = bytes.Value().substr(0, newline);
        if (newline != std::string_view::npos && line.ends_with('\r'))
            line.remove_suffix(1);
        // The index parsed this line already.
        const auto parsed = regfile::ParseRegKeyLine(line);
        return parsed ? parsed.Value().subKey : std::string_view();
    }
}

namespace {

// The key path's name at `n` (from 0), as SplitKeyPath would split it.
std::optional<std::string_view> NthKeyName(std::string_view subKey, std::size_t n)
{
    if (subKey.starts_with('\\'))
        return std::nullopt;
    for (std::size_t pos = 0; pos < subKey.size();) {
        const std::size_t end = std::min(subKey.find('\\', pos), subKey.size());
        if (end > pos && n-- == 0)
            return subKey.substr(pos, end - pos);
        pos = end + 1;
    }
    return std::nullopt;
}

} // namespace

// Each name as the section that made its key spells it, as a rewrite of
// the whole file would.
platform::Result<std::string_view, regfile::RegFileError> RegStoreText::SpelledPath(std::size_t key,
                                                                 std::optional<std::string_view> spelling) const
{
    const std::string_view identity = index_.KeyIdentity(key);
    if (identity.size() == 1)
        return std::string_view();
    while (!spelled_.empty() && !platform::IsBelow(identity, index_.KeyIdentity(spelled_.back().first)))
        spelled_.pop_back();
    const std::string_view parent = platform::ParentIdentity(identity);
    // A key's parent is a key: the sections that make it make its parent.
    if (parent.size() > 1 && (spelled_.empty() || index_.KeyIdentity(spelled_.back().first) != parent))
        if (const auto above = SpelledPath(*index_.FindKey(parent), std::nullopt); !above)
            return above;
    std::string buffer;
    if (!spelling) {
        const auto read = KeyLineSubKey(index_.SpelledBy(key), buffer);
        if (!read)
            return read;
        spelling = read.Value();
    }
    const std::size_t depth = static_cast<std::size_t>(std::count(identity.begin(), identity.end(), '\\'));
    const auto name = NthKeyName(*spelling, depth - 1);
    spelledPath_.resize(spelled_.empty() ? 0 : spelled_.back().second);
    if (!spelled_.empty())
        spelledPath_ += '\\';
    spelledPath_ += name ? *name : identity.substr(identity.rfind('\\') + 1);
    spelled_.emplace_back(key, spelledPath_.size());
    return std::string_view(spelledPath_);
}

platform::Result<StoredKey, regfile::RegFileError> RegStoreText::Build(std::size_t key, bool keyComments) const
{
    StoredKey built{RootOf(index_.KeyIdentity(key)), {}, {}, {}};
    std::string buffer;
    const std::size_t spelledBy = index_.SpelledBy(key);
    std::optional<std::string> spelling;
    for (const std::uint32_t s : index_.ValueSections(key)) {
        const RegFileIndex::Section& section = index_.sections[s];
        const auto bytes = TextOf(s).Read(section.header, index_.End(s), buffer);
        if (!bytes)
            return bytes.Error();
        auto parsed = ParseSection(s, bytes.Value());
        if (!parsed)
            return parsed.Error();
        if (index_.Canonical())
            built.path = platform::JoinedKeyPath(parsed.Value().subKey);
        if (s == spelledBy)
            spelling = parsed.Value().subKey;
        built.Apply(std::move(parsed.Value()), section.text == 0);
        if (keyComments && section.text == 0)
            if (auto lead = AppendLeadComments(s, built.comments); !lead)
                return lead.Error();
    }
    if (!index_.Canonical()) {
        auto path = SpelledPath(key, spelling ? std::optional<std::string_view>(*spelling) : std::nullopt);
        if (!path)
            return path.Error();
        built.path = std::string(path.Value());
    }
    return built;
}

platform::Result<std::string, regfile::RegFileError> RegStoreText::KeyPath(std::size_t key) const
{
    if (!index_.Canonical()) {
        const auto path = SpelledPath(key, std::nullopt);
        if (!path)
            return path.Error();
        return std::string(path.Value());
    }
    std::string buffer;
    const auto subKey = KeyLineSubKey(key, buffer);
    if (!subKey)
        return subKey.Error();
    return platform::JoinedKeyPath(subKey.Value());
}

RegStoreText::WholeInMemory::WholeInMemory(RegStoreText& text) : text_(text), files_(text.texts_)
{
    for (auto& held : text_.texts_) {
        if (held->InMemory())
            continue;
        if (auto whole = held->Whole())
            held = std::make_shared<const RegText>(std::move(whole.Value()));
    }
}

RegStoreText::WholeInMemory::~WholeInMemory()
{
    text_.texts_ = std::move(files_);
}

platform::Result<bool, regfile::RegFileError> RegStoreText::WriteRewritten(std::size_t key, std::vector<std::string>* comments,
                                                        bool separated, std::string& out) const
{
    regfile::RegRewrittenValues& values = rewriting_;
    values.Clear();
    // The values keep views of the bytes they copy: a buffer for each section.
    buffers_.clear();
    // A key whose one section's value lines are what this would write: those lines.
    std::optional<std::string_view> copied;
    if (const auto sections = index_.ValueSections(key); sections.size() == 1 && copied_[sections.front()]) {
        const std::size_t s = sections.front();
        if (comments && index_.sections[s].text == 0)
            if (auto lead = AppendLeadComments(s, *comments); !lead)
                return lead.Error();
        const auto end = BodyEnd(s);
        if (!end)
            return end.Error();
        const auto bytes = TextOf(s).Read(index_.sections[s].header, end.Value(), buffers_.emplace_back());
        if (!bytes)
            return bytes.Error();
        const std::size_t keyLineEnd = bytes.Value().find('\n');
        copied = keyLineEnd == std::string_view::npos ? std::string_view() : bytes.Value().substr(keyLineEnd + 1);
    } else {
        for (const std::uint32_t s : sections) {
            const RegFileIndex::Section& section = index_.sections[s];
            const RegText& text = TextOf(s);
            const auto bytes = text.Read(section.header, index_.End(s), buffers_.emplace_back());
            if (!bytes)
                return bytes.Error();
            if (auto read =
                    RewriteRegFileLines(bytes.Value(), 1, text.FileName(), text.Format(), section.text == 0, values);
                !read)
                return InFile(read.Error(), s);
            if (comments && section.text == 0)
                if (auto lead = AppendLeadComments(s, *comments); !lead)
                    return lead.Error();
        }
    }
    auto path = SpelledPath(key, std::nullopt);
    if (!path)
        return path.Error();
    if (separated) {
        out += "\r\n";
        regfile::AppendRegLines(out, *comments);
    }
    regfile::AppendRegKeyLine(out, RootOf(index_.KeyIdentity(key)), path.Value());
    const std::size_t keyLine = out.size();
    if (copied)
        out += *copied;
    else
        values.AppendTo(out);
    return path.Value().empty() && out.size() == keyLine;
}

platform::Result<RegStoreText::RewrittenKey, regfile::RegFileError> RegStoreText::Rewritten(std::size_t key, bool keyComments) const
{
    RewrittenKey rewritten;
    std::vector<std::string> comments;
    auto bare = WriteRewritten(key, keyComments ? &comments : nullptr, false, rewritten.lines);
    if (!bare)
        return bare.Error();
    rewritten.comments = std::move(comments);
    rewritten.bareRoot = bare.Value();
    return rewritten;
}

platform::Result<void, regfile::RegFileError> RegStoreText::AppendRewritten(std::size_t key, std::string& out) const
{
    comments_.clear();
    const std::size_t start = out.size();
    auto bare = WriteRewritten(key, &comments_, true, out);
    if (!bare)
        return bare.Error();
    if (bare.Value() && comments_.empty())
        out.resize(start);
    return {};
}

platform::Result<const StoredKey*, regfile::RegFileError> RegStoreText::Key(std::size_t key)
{
    if (!keys_[key]) {
        auto built = Build(key, !index_.Canonical());
        if (!built)
            return built.Error();
        keys_[key] = std::make_unique<StoredKey>(std::move(built.Value()));
    }
    return keys_[key].get();
}

platform::Result<const StoredKey*, regfile::RegFileError> RegStoreText::Find(std::string_view identity)
{
    const auto key = index_.FindKey(identity);
    if (!key)
        return static_cast<const StoredKey*>(nullptr);
    return Key(*key);
}

namespace {

// The most values read one at a time that are kept. Reads of more, the plan
// of a long list say, read a value again that they read before the last
// of them: kept, each would cost more than its share of the file.
constexpr std::size_t kKeptValues = 8192;

} // namespace

platform::Result<const platform::RegValue*, regfile::RegFileError> RegStoreText::Value(std::size_t key, std::string_view name)
{
    if (keys_[key])
        return keys_[key]->Find(name);
    auto [at, made] = values_.try_emplace({key, platform::FoldedName(name)});
    if (!made)
        return at->second ? &*at->second : nullptr;
    if (values_.size() > kKeptValues) {
        values_.clear();
        at = values_.try_emplace({key, platform::FoldedName(name)}).first;
    }
    std::string buffer;
    // The last section that names it wins, as the last line in a section.
    for (const std::uint32_t s : index_.ValueSections(key)) {
        const RegText& text = TextOf(s);
        const auto bytes = text.Read(index_.sections[s].header, index_.End(s), buffer);
        if (!bytes) {
            values_.erase(at);
            return bytes.Error();
        }
        auto found = FindRegFileValue(bytes.Value(), 1, text.FileName(), text.Format(), name);
        if (!found) {
            values_.erase(at);
            return InFile(found.Error(), s);
        }
        if (found.Value())
            at->second = std::move(found.Value()->value);
    }
    return at->second ? &*at->second : nullptr;
}

void RegStoreText::ReadAhead(const std::vector<std::pair<std::size_t, std::string_view>>& wanted)
{
    // Neighbours closer than this are read together: a read of a few
    // kilobytes costs hardly more than a read of one section.
    constexpr std::size_t kSpan = std::size_t{64} << 10;
    struct Wanted {
        std::uint32_t section;
        std::size_t key;
        std::string_view name;
    };
    std::vector<Wanted> reads;
    for (const auto& [key, name] : wanted) {
        if (keys_[key])
            continue;
        const std::vector<std::uint32_t> sections = index_.ValueSections(key);
        if (sections.size() == 1 && !TextOf(sections[0]).InMemory())
            reads.push_back({sections[0], key, name});
    }
    const auto offset = [this](const Wanted& w) {
        return std::pair(index_.sections[w.section].text, index_.sections[w.section].header);
    };
    std::sort(reads.begin(), reads.end(), [&](const Wanted& a, const Wanted& b) { return offset(a) < offset(b); });
    std::string buffer;
    for (std::size_t first = 0; first < reads.size();) {
        const auto [text, from] = offset(reads[first]);
        std::size_t last = first;
        while (last + 1 < reads.size() && index_.sections[reads[last + 1].section].text == text &&
               index_.End(reads[last + 1].section) - from <= kSpan)
            ++last;
        const RegText& file = TextOf(reads[first].section);
        const auto bytes = file.Read(from, index_.End(reads[last].section), buffer);
        if (!bytes)
            return;
        for (; first <= last; ++first) {
            const Wanted& w = reads[first];
            const std::size_t header = index_.sections[w.section].header;
            auto found = FindRegFileValue(bytes.Value().substr(header - from, index_.End(w.section) - header), 1,
                                          file.FileName(), file.Format(), w.name);
            if (found && values_.size() < kKeptValues)
                values_.try_emplace({w.key, platform::FoldedName(w.name)},
                                    found.Value() ? std::optional(std::move(found.Value()->value)) : std::nullopt);
        }
    }
}

std::vector<bool> RegStoreText::CopyableSections() const
{
    if (index_.Canonical())
        return std::vector<bool>(index_.sections.size(), true);
    // The keys' ValueSections, counted without a list for each of them.
    std::vector<bool> copyable(index_.sections.size());
    for (const RegFileIndex::Key& key : index_.keys) {
        std::size_t holding = 0;
        std::uint32_t last = 0;
        for (std::size_t i = key.first; i < key.first + key.count; ++i) {
            const RegFileIndex::Section& section = index_.sections[index_.order[i]];
            if (section.kept == section.depth) {
                ++holding;
                last = index_.order[i];
            }
        }
        if (holding == 1)
            copyable[last] = true;
    }
    return copyable;
}

platform::Result<void, regfile::RegFileError> RegStoreText::CheckAll()
{
    if (std::find(checked_.begin(), checked_.end(), false) == checked_.end())
        return {};
    const std::vector<bool> copyable = CopyableSections();
    // Room for a run and the section that ends it, made once: grown read by
    // read, it would double.
    std::string buffer;
    buffer.reserve(kCheckBytes + kCheckBytes / 4);
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
            for (std::size_t s = first; s < end;) {
                // A key parsed already had its one section parsed.
                if (index_.Canonical() && keys_[s]) {
                    ++s;
                    continue;
                }
                // A run of sections that a rewrite never copies is checked
                // as one text, as a key in thousands of sections comes.
                std::size_t last = s + 1;
                while (!copyable[s] && last < end && !copyable[last]
                       && index_.End(last) - index_.sections[s].header <= kCheckedTogether)
                    ++last;
                const std::size_t header = index_.sections[s].header;
                const std::string_view lines = bytes.Value().substr(header - from, index_.End(last - 1) - header);
                if (!copyable[s]) {
                    if (auto checked = CheckRegFileLines(lines, 1, texts_[t]->FileName(), texts_[t]->Format()); !checked)
                        return InFile(checked.Error(), s);
                } else {
                    const auto checked = CheckRegFileSection(lines, 1, texts_[t]->FileName(), texts_[t]->Format());
                    if (!checked)
                        return InFile(checked.Error(), s);
                    copied_[s] = checked.Value();
                }
                s = last;
            }
            first = end;
        }
        checked_[t] = true;
    }
    return {};
}

platform::Result<void, regfile::RegFileError> RegStoreText::CheckSectionsOfNoKey() const
{
    std::string buffer;
    for (std::size_t s = 0; s < index_.sections.size(); ++s) {
        const RegFileIndex::Section& section = index_.sections[s];
        if (!section.removes && section.kept == section.depth)
            continue;
        const RegText& text = TextOf(s);
        const auto bytes = text.Read(section.header, index_.End(s), buffer);
        if (!bytes)
            return bytes.Error();
        if (auto checked = CheckRegFileLines(bytes.Value(), 1, text.FileName(), text.Format()); !checked)
            return InFile(checked.Error(), s);
    }
    return {};
}

platform::Result<void, regfile::RegFileError> RegStoreText::AppendBytes(std::string& out, std::size_t from, std::size_t to) const
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

platform::Result<std::size_t, regfile::RegFileError> RegStoreText::BodyEnd(std::size_t section) const
{
    // Its key line counts: it ends the search at the latest.
    const std::size_t header = index_.sections[section].header;
    const std::size_t end = index_.End(section);
    std::string buffer;
    for (std::size_t length = 4096;; length *= 2) {
        const std::size_t from = end - std::min(end - header, length);
        const auto bytes = TextOf(section).Read(from, end, buffer);
        if (!bytes)
            return bytes.Error();
        if (const std::size_t found = SignificantEnd(bytes.Value(), from > header); found != kNone)
            return from + found;
    }
}

platform::Result<void, regfile::RegFileError> RegStoreText::AppendLeadComments(std::size_t section, std::vector<std::string>& out) const
{
    const auto lead = LeadStart(section);
    if (!lead)
        return lead.Error();
    auto comments = Comments(0, lead.Value(), index_.sections[section].header);
    if (!comments)
        return comments.Error();
    out.insert(out.end(), comments.Value().begin(), comments.Value().end());
    return {};
}

platform::Result<std::size_t, regfile::RegFileError> RegStoreText::LeadStart(std::size_t section) const
{
    const RegFileIndex::Text& text = index_.texts[index_.sections[section].text];
    if (section == text.firstSection)
        return text.preambleEnd;
    return BodyEnd(section - 1);
}

platform::Result<std::vector<std::string>, regfile::RegFileError> RegStoreText::ClosingComments() const
{
    const RegFileIndex::Text& store = index_.texts.front();
    if (store.endSection == store.firstSection)
        return Comments(0, store.preambleEnd, store.size);
    const auto start = BodyEnd(store.endSection - 1);
    if (!start)
        return start.Error();
    return Comments(0, start.Value(), store.size);
}

} // namespace regstore
