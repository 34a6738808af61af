#include "unit/TempAppFolder.h"

#include "i18n/Translation.h"
#include "platform/Exceptions.h"
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <map>

using namespace util;
using namespace i18n;

namespace {

const std::string kLanguageKey = "SYSTEM\\CurrentControlSet\\Control\\Nls\\Language";

// Values of the one key that the language lookup reads, below HKEY_LOCAL_MACHINE.
class FakeRegistry final : public platform::IRegistry {
public:
    std::map<std::string, platform::RegValue> values;

    platform::Result<platform::RegValue, platform::RegFault> QueryValue(platform::RegRoot root, std::string_view subKey,
                                                                        std::string_view name) override
    {
        if (root != platform::RegRoot::LocalMachine || subKey != kLanguageKey)
            return platform::RegError::KeyNotFound;
        const auto found = values.find(std::string(name));
        if (found == values.end())
            return platform::RegError::ValueNotFound;
        return found->second;
    }
    platform::RegResult SetValue(platform::RegRoot, std::string_view, std::string_view, const platform::RegValue&) override
    {
        return platform::RegError::AccessDenied;
    }
    platform::RegResult DeleteValue(platform::RegRoot, std::string_view, std::string_view) override
    {
        return platform::RegError::AccessDenied;
    }
    platform::Result<bool, platform::RegFault> DeleteEmptyKey(platform::RegRoot, std::string_view) override
    {
        return platform::RegFault(platform::RegError::AccessDenied);
    }
};

std::string CrLf(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

} // namespace

TEST(SystemLanguage, ResolvesThroughDialectsAndFallsBackToEnglish)
{
    const struct {
        const char* what;
        std::optional<platform::RegValue> systemDefault;
        std::vector<std::string> dialectSettings; // appended to config.ini
        std::vector<std::string> fileLines;       // besides [1033]
        std::string code;
    } cases[] = {
        {"section of the system language", platform::RegValue::String("0407"), {}, {"[1031]"}, "[1031]"},
        {"dialect among others", platform::RegValue::String("0c07"),
         {"Dialects[1031]", "[2055], [3079], [5127]"}, {"[1031]"}, "[1031]"},
        {"dialect without separators", platform::RegValue::String("0c07"),
         {"Dialects[1031]", "x[2055][3079]y"}, {"[1031]"}, "[1031]"},
        {"dialect mapped to a section the file lacks", platform::RegValue::String("0c07"),
         {"Dialects[1031]", "[3079]"}, {"[1036]"}, "[1033]"},
        {"unmapped language without section", platform::RegValue::String("0419"), {}, {"[1031]"}, "[1033]"},
        {"unmapped language with section", platform::RegValue::String("0419"), {}, {"[1049]"}, "[1049]"},
        {"upper-case hexadecimal digits", platform::RegValue::String("040C"), {}, {"[1036]"}, "[1036]"},
        {"Spanish dialect", platform::RegValue::String("0C0A"),
         {"Dialects[1031]", "[2055]", "Dialects[1034]", "[2058][3082]"}, {"[1034]"}, "[1034]"},
        {"Dutch dialect", platform::RegValue::String("0813"), {"Dialects[1043]", "[2067]"}, {"[1043]"}, "[1043]"},
        {"each list sees the code the earlier ones left", platform::RegValue::String("0c07"),
         {"Dialects[1031]", "[3079]", "Dialects[1036]", "[1031]"}, {"[1031]", "[1036]"}, "[1036]"},
        {"section header matches whole lines only", platform::RegValue::String("0407"), {}, {"[1031] "}, "[1033]"},
        {"value absent", std::nullopt, {}, {"[1031]"}, "[1033]"},
        {"value of another type", platform::RegValue::Dword(0x0407), {}, {"[1031]"}, "[1033]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeRegistry registry;
        if (c.systemDefault)
            registry.values["Default"] = *c.systemDefault;
        TempAppFolder app(&registry);
        std::vector<std::string> config = {"Product ID", "Tune", "Language", "[----]"};
        config.insert(config.end(), c.dialectSettings.begin(), c.dialectSettings.end());
        app.Write("config.ini", CrLf(config));
        std::vector<std::string> file = {"[1033]", "[EOL]"};
        for (const std::string& header : c.fileLines)
            file.insert(file.end(), {header, "[EOL]"});
        app.Write("Tunetrl.ini", CrLf(file));

        EXPECT_EQ(CTranslation().ResolveLanguage(app.Path("Tunetrl.ini")), c.code);
    }
}

TEST(SystemLanguage, LoadFollowsTheSystemLanguage)
{
    FakeRegistry registry;
    registry.values["Default"] = platform::RegValue::String("0407");
    TempAppFolder app(&registry);
    app.Write("config.ini", CrLf({"Product ID", "Tune", "Language", "[----]"}));
    app.Write("Tunetrl.ini", CrLf({"[1033]", "00002 English", "[EOL]", "[1031]", "00002 Deutsch", "[EOL]"}));
    CTranslation translation;
    translation.Load();
    EXPECT_EQ(translation.Lookup(2), "Deutsch");

    registry.values["Default"] = platform::RegValue::String("0419");
    translation.Load();
    EXPECT_EQ(translation.Lookup(2), "English");
}

TEST(SystemLanguage, MissingTranslationFileIsAnError)
{
    FakeRegistry registry;
    registry.values["Default"] = platform::RegValue::String("0407");
    TempAppFolder app(&registry);
    app.Write("config.ini", CrLf({"Language", "[----]"}));
    EXPECT_THROW(CTranslation().ResolveLanguage(app.Path("trl.ini")), platform::CFileException);
}
