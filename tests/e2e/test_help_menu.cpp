// The Help menu and the system menu's About entry.
#include "e2e/Driver.h"
#include "e2e/Screen.h"

#include <gtest/gtest.h>

#include <filesystem>

using e2e::Grep;
using e2e::Installation;

TEST(HelpMenu, OpensHelpWebsiteAndAbout)
{
    Installation inst;
    inst.Write("help.chm", "ITSF");
    const auto out = inst.Run("tick\nkey F1\nmenu 32776\nmenu 32777\nmenu 32778\nmenu 16\nclick 2\n");
    const std::string help = inst.File("help.chm");
    EXPECT_EQ(e2e::ShellOpened(out), (std::vector<std::string>{help, help, "https://www.orvelle.example/tunewright"}));
    EXPECT_EQ(Grep(out, "dialog"), (std::vector<std::string>{"dialog 100 caption=\"About ...\" -> IDOK",
                                                             "dialog 100 caption=\"About ...\" -> IDOK"}));
    EXPECT_EQ(out.back(), "ended IDCANCEL");
}

// The help of the chosen language where the installation has it, else the
// English one.
TEST(HelpMenu, ShowsTheHelpOfTheChosenLanguage)
{
    struct Case {
        const char* language;
        bool german; // help1031.chm beside help.chm
        const char* shown;
    };
    const Case cases[] = {
        {"[1031]", true, "help1031.chm"},
        {"[1031]", false, "help.chm"},
        {"[1033]", true, "help.chm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.language) + (c.german ? " with" : " without") + " the German help");
        Installation inst;
        inst.Write("help.chm", "ITSF");
        if (c.german)
            inst.Write("help1031.chm", "ITSF");
        std::string config = inst.Read("config.ini");
        config.replace(config.find("Language\r\n[1033]"), 16, std::string("Language\r\n") + c.language);
        inst.Write("config.ini", config);
        const auto out = inst.Run("tick\nkey F1\nclick 2\n");
        EXPECT_EQ(e2e::ShellOpened(out), (std::vector<std::string>{inst.File(c.shown)}));
    }
}

TEST(HelpMenu, AHelpFileThatIsMissingOrCannotBeReadIsNamed)
{
    Installation inst;
    const std::string help = inst.File("help.chm");
    auto out = inst.Run("key F1\nmenu 32776\nclick 2\n");
    const auto errors = Grep(out, "error");
    ASSERT_EQ(errors.size(), 2u) << e2e::Join(out);
    for (const std::string& error : errors) {
        EXPECT_EQ(error.rfind("error \"The help file \\\"", 0), 0u) << error;
        // The whole path, its separators escaped as the driver prints them.
        EXPECT_NE(error.find("installation"), std::string::npos) << error;
        EXPECT_NE(error.find("help.chm\\\" cannot be shown: "), std::string::npos) << error;
    }
    EXPECT_TRUE(e2e::ShellOpened(out).empty());

    // A folder in its place is no help file either.
    std::filesystem::create_directory(help);
    out = inst.Run("key F1\nclick 2\n");
    ASSERT_EQ(Grep(out, "error").size(), 1u) << e2e::Join(out);
    EXPECT_NE(Grep(out, "error")[0].find("is not a regular file"), std::string::npos) << e2e::Join(out);
    EXPECT_TRUE(e2e::ShellOpened(out).empty());
}
