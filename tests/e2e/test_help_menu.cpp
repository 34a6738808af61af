// The Help menu and the system menu's About entry.
#include "e2e/Driver.h"
#include "e2e/Screen.h"

#include <gtest/gtest.h>

using e2e::Grep;
using e2e::Installation;

TEST(HelpMenu, OpensHelpWebsiteAndAbout)
{
    Installation inst;
    const auto out = inst.Run("tick\nkey F1\nmenu 32776\nmenu 32777\nmenu 32778\nmenu 16\nclick 2\n");
    const std::string help = inst.File("help.chm");
    EXPECT_EQ(e2e::ShellOpened(out), (std::vector<std::string>{help, help, "https://www.orvelle.example/tunewright"}));
    EXPECT_EQ(Grep(out, "dialog"), (std::vector<std::string>{"dialog 100 caption=\"About ...\" -> IDOK",
                                                             "dialog 100 caption=\"About ...\" -> IDOK"}));
    EXPECT_EQ(out.back(), "ended IDCANCEL");
}
