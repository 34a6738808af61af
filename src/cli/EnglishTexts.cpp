#include "cli/EnglishTexts.h"

#include "i18n/Translation.h"
#include "platform/Exceptions.h"
#include "util/TextFile.h"

namespace cli {

const std::unordered_map<int, std::string>& EnglishTexts::Texts() const
{
    if (texts_)
        return *texts_;
    std::unordered_map<int, std::string>& texts = texts_.emplace();
    std::string text;
    try {
        text = util::ReadTextFile(i18n::TranslationPath(power_));
    } catch (const platform::CException&) {
        // The installation's own translation has told the user already.
        return texts;
    }
    const auto entries = i18n::ParseTranslationSection(text, "[1033]");
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
