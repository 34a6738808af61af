#include "i18n/Translation.h"

#include <array>

namespace i18n {

namespace {

struct DialectList {
    const char* setting;
    const char* section;
};

// Tested in this order; each test sees the code as the earlier ones left it.
constexpr std::array<DialectList, 4> kDialectLists{{
    {"Dialects[1031]", "[1031]"},
    {"Dialects[1034]", "[1034]"},
    {"Dialects[1043]", "[1043]"},
    {"Dialects[1036]", "[1036]"},
}};

} // namespace

std::string CTranslation::ResolveLanguage(const std::string& path)
{
    power.currentKeyPath = "SYSTEM\\CurrentControlSet\\Control\\Nls\\Language";
    // A missing value reads as "" and one of another type as "No REG_SZ";
    // neither turns into a code that a file has a section for, so English
    // follows.
    const std::string systemLanguage = power.ReadStringValue(util::RegistryLocation::LocalMachine, "Default");
    std::string code = "[" + std::to_string(util::PowerClass::HexToInt(systemLanguage)) + "]";

    for (const DialectList& dialects : kDialectLists) {
        // The lists are free text: the bracketed identifier may stand anywhere.
        if (power.ReadSetting(dialects.setting).find(code) != std::string::npos)
            code = dialects.section;
    }
    return util::PowerClass::FileHasLine(path, code) ? code : "[1033]";
}

} // namespace i18n
