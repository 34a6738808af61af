#include "i18n/LanguageList.h"

#include "util/TextFile.h"

namespace i18n {

std::vector<LanguageChoice> ListLanguages(const std::vector<std::string>& lines)
{
    std::vector<LanguageChoice> languages;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].size() != 6 || lines[i][0] != '[')
            continue;
        const std::string name = i + 2 < lines.size() ? util::LineValue(lines[i + 2]) : std::string();
        languages.push_back({lines[i], name});
        i += 2;
    }
    return languages;
}

} // namespace i18n
