#include "cli/EnglishTexts.h"

#include "i18n/Translation.h"
#include "platform/Exceptions.h"
#include "util/TextFile.h"

namespace cli {

EnglishTexts::EnglishTexts(const PowerClass& power)
{
    std::string text;
    try {
        text = ReadTextFile(TranslationPath(power));
    } catch (const tk::CException&) {
        // The installation's own translation has told the user already.
        return;
    }
    const auto entries = ParseTranslationSection(text, "[1033]");
    if (!entries)
        return;
    // The first entry of a key counts, as in the translation table.
    for (const TranslationEntry& entry : *entries)
        texts_.emplace(entry.key, entry.text);
}

std::optional<std::string> EnglishTexts::Find(int key) const
{
    const auto found = texts_.find(key);
    if (found == texts_.end())
        return std::nullopt;
    return found->second;
}

} // namespace cli
