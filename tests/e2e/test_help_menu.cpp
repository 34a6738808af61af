// The Help menu and the system menu's About entry.
#include "e2e/Driver.h"

#include <gtest/gtest.h>

using e2e::Grep;
using e2e::Installation;

TEST(HelpMenu, OpensHelpWebsiteAndAbout)
{
    Installation inst;
    const auto out = inst.Run("tick\nkey F1\nmenu 32776\nmenu 32777\nmenu 32778\nmenu 16\nclick 2\n");
    const std::string help = "shell open \"" + inst.File("help.chm").string() + "\"";
    EXPECT_EQ(Grep(out, "shell open"),
              (std::vector<std::string>{help, help, "shell open \"https://www.orvelle.example/tunewright\""}));
    EXPECT_EQ(Grep(out, "dialog"), (std::vector<std::string>{"dialog 100 caption=\"About ...\" -> IDOK",
                                                             "dialog 100 caption=\"About ...\" -> IDOK"}));
    EXPECT_EQ(out.back(), "ended IDCANCEL");
}
