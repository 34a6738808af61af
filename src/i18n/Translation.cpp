#include "i18n/Translation.h"

#include "i18n/Texts.h"
#include "platform/Exceptions.h"
#include "util/TextFile.h"

#include <algorithm>

namespace i18n {

namespace {

const std::string kFollowSystemLanguage = "[----]";
const std::string kFallbackSection = "[1033]";
const std::string kEndOfSection = "[EOL]";

// Entry lines: characters 1-5 the key, character 6 a separator that is never
// looked at, the rest the text. Lines of 4 characters or fewer are skipped.
constexpr std::size_t kKeyWidth = 5;
constexpr std::size_t kTextStart = 6;

std::string MissingSectionsCause(const std::string& code)
{
    if (code.empty())
        return platform::Text(text::NoLanguageNoFallback, {kFallbackSection});
    if (code == kFallbackSection)
        return platform::Text(text::NoFallbackSection, {kFallbackSection});
    return platform::Text(text::NeitherSection, {code, kFallbackSection});
}

} // namespace

namespace {

// The key that an entry line's first characters write. Five digits, as
// nearly every line has, are read in place; anything else as DecimalToInt
// reads it.
std::int32_t KeyOf(std::string_view characters)
{
    std::int32_t key = 0;
    for (const char c : characters) {
        if (c < '0' || c > '9')
            return util::PowerClass::DecimalToInt(std::string(characters));
        key = key * 10 + (c - '0');
    }
    return key;
}

// Where a search for a section stands after some of a file's lines.
enum class Scan { BeforeSection, InSection, Ended };

// Gives `take` each entry of the section whose header line equals code that
// lies in `lines` (whole lines of the file that follow those scanned
// already): its key and its text, a view into `lines`.
template <typename Take>
Scan ScanLines(std::string_view lines, const std::string& code, Scan scan, Take&& take)
{
    std::size_t at = 0;
    if (scan == Scan::BeforeSection) {
        // Only the section's own lines are split off: the rest of the file,
        // all the other languages, is passed over by the search for its header.
        const std::optional<util::LineSpan> header = util::FindLine(lines, code);
        if (!header)
            return Scan::BeforeSection;
        at = header->next;
    }
    while (at < lines.size()) {
        const util::LineSpan line = util::LineAt(lines, at);
        if (line.text == kEndOfSection)
            return Scan::Ended;
        at = line.next;
        if (line.text.size() < kKeyWidth)
            continue;
        take(KeyOf(line.text.substr(0, kKeyWidth)),
             line.text.size() > kTextStart ? line.text.substr(kTextStart) : std::string_view());
    }
    return Scan::InSection;
}

// The section's entries in a text held whole; false when there is no such
// section. An empty code names none.
template <typename Take>
bool ForEachEntry(std::string_view text, const std::string& code, Take&& take)
{
    return !code.empty() && ScanLines(text, code, Scan::BeforeSection, take) != Scan::BeforeSection;
}

// The same in the file at path, read until the section ends: of a file of
// many languages only a piece at a time is in memory.
template <typename Take>
bool ForEachEntryInFile(const std::string& path, const std::string& code, Take&& take)
{
    if (code.empty())
        return false;
    Scan scan = Scan::BeforeSection;
    util::ReadTextPieces(path, [&](std::string_view piece) {
        scan = ScanLines(piece, code, scan, take);
        return scan != Scan::Ended;
    });
    return scan != Scan::BeforeSection;
}

} // namespace

std::optional<std::vector<TranslationEntry>> ParseTranslationSection(std::string_view text, const std::string& code)
{
    std::vector<TranslationEntry> entries;
    if (!ForEachEntry(text, code, [&](std::int32_t key, std::string_view line) {
            entries.push_back({key, std::string(line)});
        }))
        return std::nullopt;
    return entries;
}

std::optional<std::vector<TranslationEntry>> ReadTranslationSection(const std::string& path, const std::string& code)
{
    std::vector<TranslationEntry> entries;
    if (!ForEachEntryInFile(path, code, [&](std::int32_t key, std::string_view line) {
            entries.push_back({key, std::string(line)});
        }))
        return std::nullopt;
    return entries;
}

void CTranslation::Load()
{
    const std::string path = TranslationPath(power);
    std::string code = power.ReadSetting("Language");
    if (code == kFollowSystemLanguage)
        code = ResolveLanguage(path);

    std::string texts;
    std::vector<Entry> entries;
    const auto take = [&](std::int32_t key, std::string_view line) {
        entries.push_back({key, static_cast<std::uint32_t>(texts.size()), static_cast<std::uint32_t>(line.size())});
        texts += line;
    };
    std::string loaded = code;
    bool found = ForEachEntryInFile(path, code, take);
    if (!found && code != kFallbackSection) {
        loaded = kFallbackSection;
        found = ForEachEntryInFile(path, kFallbackSection, take);
    }
    if (!found)
        throw platform::CFileException(path, MissingSectionsCause(code));
    // In key order, a key's lines in file order: the first is the one found.
    // A file written in key order, as most are, is left as it is read.
    const auto byKey = [](const Entry& a, const Entry& b) { return a.key < b.key; };
    if (!std::is_sorted(entries.begin(), entries.end(), byKey))
        std::stable_sort(entries.begin(), entries.end(), byKey);
    texts_ = std::move(texts);
    entries_ = std::move(entries);
    section_ = loaded;
}

const CTranslation::Entry* CTranslation::FindEntry(int key) const
{
    const auto found = std::lower_bound(entries_.begin(), entries_.end(), key,
                                        [](const Entry& entry, int wanted) { return entry.key < wanted; });
    return found != entries_.end() && found->key == key ? &*found : nullptr;
}

std::string CTranslation::TextOf(const Entry& entry) const
{
    return texts_.substr(entry.at, entry.size);
}

std::string CTranslation::Lookup(int key) const
{
    const Entry* entry = FindEntry(key);
    return entry ? TextOf(*entry) : "#" + std::to_string(key);
}

std::optional<std::string> CTranslation::Find(int key) const
{
    const Entry* entry = FindEntry(key);
    if (!entry)
        return std::nullopt;
    return TextOf(*entry);
}

bool CTranslation::Has(int key) const
{
    return FindEntry(key) != nullptr;
}

} // namespace i18n
