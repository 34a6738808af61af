#pragma once
// The languages a translation file offers: one for each section header, named
// by the entry on the second line after it.
#include <string>
#include <vector>

namespace i18n {

struct LanguageChoice {
    std::string code;        // the section header, e.g. "[1031]"
    std::string displayName; // e.g. "Deutsch"
};

// A section header is a line of exactly six characters that starts with "[".
// The two lines after it are taken with it and never read as headers.
std::vector<LanguageChoice> ListLanguages(const std::vector<std::string>& lines);

} // namespace i18n
