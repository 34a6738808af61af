// The start-up question about User Account Control and the language that
// "[----]" resolves to, seen through the headless driver.
#include "e2e/Driver.h"

#include <gtest/gtest.h>

#include <filesystem>

using e2e::Contains;
using e2e::Grep;
using e2e::Installation;

namespace {

const char* const kPolicies = "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System]";
const char* const kNls = "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Nls\\Language]";
const char* const kMarker = "[HKEY_LOCAL_MACHINE\\Software\\Orvelle\\Orvelle Kitbasket]\r\n\"active\"=\"1\"\r\n";

std::string Store(const std::string& enableLua, const std::string& defaultLanguage = "0409")
{
    std::string s = "REGEDIT4\r\n\r\n";
    if (!enableLua.empty())
        s += std::string(kPolicies) + "\r\n\"EnableLUA\"=" + enableLua + "\r\n\r\n";
    s += std::string(kNls) + "\r\n\"Default\"=\"" + defaultLanguage + "\"\r\n\r\n";
    s += kMarker;
    return s;
}

// A translation file with one section per code; each section's caption (key
// 5) and first function name name the section, so a dump shows which loaded.
std::string Translations(const std::vector<std::string>& codes)
{
    std::string t;
    for (const auto& code : codes) {
        t += code + "\r\n00001 Pick " + code + "\r\n00002 Language " + code + "\r\n";
        t += "00005 Caption " + code + "\r\n00125 UAC is on " + code + "\r\n00130 Second " + code +
             "\r\n00135 Go on? " + code + "\r\n00050 Group " + code + "\r\n";
        t += "10000 Function of " + code + "\r\n10010 End of functions\r\n[EOL]\r\n";
    }
    return t;
}

std::string Config(const std::string& language)
{
    return "Product ID\r\n0019\r\nLanguage\r\n" + language +
           "\r\nDialects[1031]\r\n[2055][3079]\r\nDialects[1034]\r\n[2058]\r\nDialects[1043]\r\n[2067]\r\n"
           "Dialects[1036]\r\n[2060]\r\nHomepage\r\nhttps://www.orvelle.example/\r\n";
}

} // namespace

TEST(StartupQuestion, AskedOnlyWhenEnableLuaIsOne)
{
    Installation inst;
    inst.Write("0019trl.ini", Translations({"[1033]"}));
    inst.Write("config.ini", Config("[1033]"));

    for (const std::string lua : {"dword:00000000", "dword:00000002", ""}) {
        inst.Write("registry.reg", Store(lua));
        const auto out = inst.Run("tick\nclick 2\n");
        EXPECT_TRUE(Grep(out, "msgbox").empty()) << "EnableLUA=" << lua;
        EXPECT_EQ(out.back(), "ended IDCANCEL");
    }

    inst.Write("registry.reg", Store("dword:00000001"));
    const auto yes = inst.Run("answer yes\ndump\nclick 2\n");
    ASSERT_FALSE(yes.empty());
    EXPECT_EQ(yes.front(), "msgbox caption=\"Caption [1033]\" text=\"UAC is on [1033]\\n\\nSecond [1033]\\n\\nGo on? "
                           "[1033]\" buttons=yesno icon=question -> yes");
    // Yes: start-up goes on as if nothing had been asked.
    EXPECT_TRUE(Contains(yes, "item 0 \"Function of [1033]\""));
    EXPECT_EQ(yes.back(), "ended IDCANCEL");
}

TEST(StartupQuestion, AnEmptyCaptionStaysEmpty)
{
    Installation inst;
    std::string translation = Translations({"[1033]"});
    const std::string caption = "00005 Caption [1033]";
    translation.replace(translation.find(caption), caption.size(), "00005");
    inst.Write("0019trl.ini", translation);
    inst.Write("config.ini", Config("[1033]"));
    inst.Write("registry.reg", Store("dword:00000001"));
    const auto out = inst.Run("answer yes\nclick 2\n");
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out.front().rfind("msgbox caption=\"\" text=\"UAC is on [1033]", 0), 0u) << out.front();
}

TEST(StartupQuestion, NoEndsAtOnceAndWritesNothing)
{
    Installation inst;
    const std::string store = Store("dword:00000001");
    inst.Write("registry.reg", store);
    const std::string config = inst.Read("config.ini");

    // Commands after the end are not run, only reported: the marker must
    // survive.
    const auto run = inst.RunExpectingComplaints("answer no\ntick 3\nclose\n");
    const auto& out = run.lines;
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(Grep(out, "msgbox").size(), 1u);
    EXPECT_EQ(out[1], "ended IDCANCEL");
    EXPECT_EQ(out[3], "ignored \"close\"");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(inst.Read("registry.reg"), store);
    EXPECT_EQ(inst.Read("config.ini"), config);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(inst.File("backup")), {}), 1) << "only README.txt";
}

TEST(SystemDefaultLanguage, FollowsTheRegistryAndTheDialectLists)
{
    struct Case {
        std::string defaultValue;
        std::string loaded;
    };
    const Case cases[] = {
        {"0407", "[1031]"}, // German
        {"0c07", "[1031]"}, // Austrian German, through Dialects[1031]
        {"040C", "[1036]"}, // French written with an upper-case digit
        {"040c", "[1036]"},
        {"0419", "[1033]"}, // Russian: no section, English instead
        {"", "[1033]"},
    };
    Installation inst;
    inst.Write("0019trl.ini", Translations({"[1033]", "[1031]", "[1036]"}));
    inst.Write("config.ini", Config("[----]"));
    for (const Case& c : cases) {
        inst.Write("registry.reg", Store("", c.defaultValue));
        const auto out = inst.Run("dump\nclick 2\n");
        EXPECT_TRUE(Contains(out, "item 0 \"Function of " + c.loaded + "\"")) << c.defaultValue << "\n"
                                                                              << e2e::Join(out);
        EXPECT_TRUE(Contains(out, "control 1019 shown \"Group " + c.loaded + "\"")) << c.defaultValue;
    }
}

TEST(SystemDefaultLanguage, MissingSectionsAreReportedNamingTheFile)
{
    Installation inst;
    inst.Write("0019trl.ini", Translations({"[1031]"}));
    inst.Write("config.ini", Config("[1049]"));
    inst.Write("registry.reg", Store(""));
    const auto out = inst.Run("");
    const auto errors = Grep(out, "error ");
    ASSERT_EQ(errors.size(), 1u) << e2e::Join(out);
    EXPECT_NE(errors[0].find("0019trl.ini"), std::string::npos);
    EXPECT_EQ(out.back(), "ended IDCANCEL");
}
