#include "i18n/Translation.h"

#include "i18n/Texts.h"
#include "platform/Exceptions.h"
#include "util/TextFile.h"

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
        return tk::Text(text::NoLanguageNoFallback, {kFallbackSection});
    if (code == kFallbackSection)
        return tk::Text(text::NoFallbackSection, {kFallbackSection});
    return tk::Text(text::NeitherSection, {code, kFallbackSection});
}

} // namespace

std::optional<std::vector<TranslationEntry>> ParseTranslationSection(std::string_view text, const std::string& code)
{
    if (code.empty())
        return std::nullopt;
    // Only the section's own lines are split off: the rest of the file, all
    // the other languages, is passed over by the search for its header.
    const std::optional<LineSpan> header = FindLine(text, code);
    if (!header)
        return std::nullopt;

    std::vector<TranslationEntry> entries;
    for (std::size_t at = header->next; at < text.size();) {
        const LineSpan line = LineAt(text, at);
        if (line.text == kEndOfSection)
            break;
        at = line.next;
        if (line.text.size() < kKeyWidth)
            continue;
        entries.push_back({PowerClass::DecimalToInt(std::string(line.text.substr(0, kKeyWidth))),
                           std::string(line.text.size() > kTextStart ? line.text.substr(kTextStart) : "")});
    }
    return entries;
}

void CTranslation::Load()
{
    const std::string path = TranslationPath(power);
    std::string code = power.ReadSetting("Language");
    if (code == kFollowSystemLanguage)
        code = ResolveLanguage(path);

    const std::string text = ReadTextFile(path);
    std::string loaded = code;
    std::optional<std::vector<TranslationEntry>> section = ParseTranslationSection(text, code);
    if (!section && code != kFallbackSection) {
        loaded = kFallbackSection;
        section = ParseTranslationSection(text, kFallbackSection);
    }
    if (!section)
        throw tk::CFileException(path, MissingSectionsCause(code));

    std::unordered_map<std::int32_t, std::string> entries;
    entries.reserve(section->size());
    for (TranslationEntry& entry : *section)
        entries.try_emplace(entry.key, std::move(entry.text));
    entries_ = std::move(entries);
    section_ = loaded;
}

std::string CTranslation::Lookup(int key) const
{
    const auto found = entries_.find(key);
    return found != entries_.end() ? found->second : "#" + std::to_string(key);
}

std::optional<std::string> CTranslation::Find(int key) const
{
    const auto found = entries_.find(key);
    if (found == entries_.end())
        return std::nullopt;
    return found->second;
}

bool CTranslation::Has(int key) const
{
    return entries_.count(key) != 0;
}
