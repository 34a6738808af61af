#include "cli/EnglishTexts.h"

#include "i18n/Translation.h"
#include "platform/Exceptions.h"

namespace cli {

const std::unordered_map<int, std::string>& EnglishTexts::Texts() const
{
    if (texts_)
        return *texts_;
    std::unordered_map<int, std::string>& texts = texts_.emplace();
    std::optional<std::vector<i18n::TranslationEntry>> entries;
    try {
        entries = i18n::ReadTranslationSection(i18n::TranslationPath(power_), "[1033]");
    } catch (const platform::CException&) {
        // The installation's own translation has told the user already.
        return texts;
    }
    if (!entries)
        return texts;
    // The first entry of a key counts, as in the translation table.
    for (const i18n::TranslationEntry& entry : *entries)
        texts.emplace(entry.key, entry.text);
    return texts;
}

std::optional<std::string> EnglishTexts::Find(int key) const
{
    const auto& texts = Texts();
    const auto found = texts.find(key);
    if (found == texts.end())
        return std::nullopt;
    return found->second;
}

} // namespace cli
