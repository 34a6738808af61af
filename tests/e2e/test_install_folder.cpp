// An installation in a folder whose name is not ASCII ("café" in
// Windows-1252): the program finds its settings, translation and catalogue
// there, writes config.ini there and names the folder's files byte for byte.
#include "e2e/Driver.h"
#include "e2e/Screen.h"

#include <gtest/gtest.h>

using e2e::Contains;
using e2e::Grep;
using e2e::Installation;

TEST(InstallFolderE2E, ANonAsciiFolderHoldsEverythingTheProgramUses)
{
    Installation inst("caf\xE9");
    inst.Write("help.chm", "ITSF");
    const auto out = inst.Run("choose Deutsch\nmenu 32779\ntick\nkey F1\ndump\nclick 2\n");
    EXPECT_TRUE(Grep(out, "error").empty()) << e2e::Join(out);
    EXPECT_TRUE(Contains(out, "list 1000 mark=0 count=253")) << e2e::Join(out);
    EXPECT_TRUE(Contains(out, "control 1005 shown \"400\"")) << e2e::Join(out);
    EXPECT_TRUE(Contains(out, "menu 0 - \"&Datei\"")) << e2e::Join(out);
    EXPECT_EQ(e2e::ShellOpened(out), std::vector<std::string>{inst.File("help.chm")});
    EXPECT_NE(inst.Read("config.ini").find("Language\r\n[1031]\r\n"), std::string::npos);
}
