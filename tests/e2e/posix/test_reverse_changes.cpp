// Reverse changes through the driver on Linux, whose shell imports the chosen
// backup as the terminal program does (the Windows driver only prints the
// hand-over): the panel shows the value put back, and what came later below
// a key that the save created survives.
#include "e2e/Screen.h"
#include "e2e/SmallInstallation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

using namespace e2e;

namespace {

const std::string kNow = "--now 2024-03-05T09:05";
const std::string kStamp = "backup - 20240305 - 09.05 - ";

struct Prepared : Installation {
    Prepared()
    {
        WriteSmall(*this, {"Menu delay", "New text"},
                   {"10000 0210", "10001 HKEY_CURRENT_USER\\\\Control Panel\\\\Desktop", "10002 MenuShowDelay",
                    "10003 1000", "10004 8000", "10010 0610", "10011 HKEY_CURRENT_USER\\\\Software\\\\New\\\\Deeper",
                    "10012 Text"},
                   "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n\"MenuShowDelay\"=\"400\"\r\n");
    }
};

// Shows list row `row`, runs `actions` and ends with Escape.
std::vector<std::string> RunOn(const Installation& inst, int row, const std::string& actions)
{
    return inst.Run("tick\nselect " + std::to_string(row) + "\ntick\n" + actions + "click 2\n", kNow);
}

} // namespace

// Asked, imported, told; the panel then shows the registry's value, so that
// closing asks nothing and a Save would not write the reversed value back.
TEST(ReverseChangesE2E, TheBackupIsImportedAndThePanelShowsTheRestoredValue)
{
    Prepared inst;
    const std::string backup = inst.File("backup/" + kStamp + "Menu delay.reg");
    const auto out =
        RunOn(inst, 0, "type 1005 1000\nclick 1010\ntype 1005 2000\npick " + backup + "\nmenu 32772\ndump\n");
    const auto shell = std::find(out.begin(), out.end(), "shell open \"" + Escape(backup) + "\"");
    ASSERT_NE(shell, out.end()) << Join(out);
    ASSERT_GE(out.end() - shell, 3);
    EXPECT_NE(shell[1].find("text=\"Import the keys and values in"), std::string::npos) << shell[1];
    EXPECT_NE(shell[1].find("buttons=yesno icon=question -> yes"), std::string::npos) << shell[1];
    EXPECT_NE(shell[2].find("buttons=ok"), std::string::npos) << shell[2];
    EXPECT_EQ(LastScreen(out).Control(1005).text, "400");
    EXPECT_EQ(Grep(out, "msgbox").size(), 4u) << "saved, Reverse's notice, import question and report, and no close "
                                                 "question\n"
                                              << Join(out);
    EXPECT_NE(inst.Read("registry.reg").find("\"MenuShowDelay\"=\"400\"\r\n"), std::string::npos);
}

// A backup never deletes a key: the saved value goes, what was written below
// the keys the save created stays.
TEST(ReverseChangesE2E, WhatCameLaterBelowAKeyTheSaveCreatedSurvives)
{
    Prepared inst;
    inst.Write("later.reg", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\New]\r\n\"Later\"=\"kept\"\r\n\r\n"
                            "[HKEY_CURRENT_USER\\Software\\New\\Deeper\\Sub]\r\n\"Also\"=\"kept\"\r\n");
    const std::string backup = inst.File("backup/" + kStamp + "New text.reg");
    const auto out = RunOn(inst, 1, "type 1006 hi\nclick 1010\npick " + inst.File("later.reg") + "\nmenu 32772\npick " +
                                        backup + "\nmenu 32772\ndump\n");
    EXPECT_EQ(LastScreen(out).Control(1006).text, "");
    const std::string store = inst.Read("registry.reg");
    EXPECT_NE(store.find("[HKEY_CURRENT_USER\\Software\\New]\r\n\"Later\"=\"kept\"\r\n"), std::string::npos) << store;
    EXPECT_NE(store.find("[HKEY_CURRENT_USER\\Software\\New\\Deeper\\Sub]\r\n\"Also\"=\"kept\"\r\n"), std::string::npos)
        << store;
    EXPECT_EQ(store.find("\"Text\"="), std::string::npos) << store;
}

// What the reversed backup changes goes into a backup of its own first: the
// history lists it, and restoring it puts back what the Reverse replaced.
TEST(ReverseChangesE2E, TheReverseIsBackedUpAndCanBeUndoneFromTheHistory)
{
    Prepared inst;
    const std::string backup = inst.File("backup/" + kStamp + "Menu delay.reg");
    const auto out = RunOn(inst, 0, "type 1005 1000\nclick 1010\npick " + backup +
                                        "\nmenu 32772\nmenu 32782\ndump\nanswer yes\nclick 1042\nclick 2\ndump\n");
    const std::vector<Screen> s = Screens(out);
    ASSERT_EQ(s.size(), 2u) << Join(out);
    ASSERT_EQ(s[0].rows.size(), 2u) << Join(out);
    EXPECT_EQ(s[0].rows[0], (std::vector<std::string>{"2024-03-05 09:05", "reverse Menu delay", "\"1000\"", "\"400\""}));
    EXPECT_EQ(inst.Read("backup/" + kStamp + "reverse Menu delay.reg"),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n\"MenuShowDelay\"=\"1000\"\r\n");
    EXPECT_EQ(s[1].Control(1005).text, "1000");
    EXPECT_NE(inst.Read("registry.reg").find("\"MenuShowDelay\"=\"1000\"\r\n"), std::string::npos);
}

// A file whose values cannot be backed up first is not handed over: one box
// says why, and neither the registry nor the backup folder changes.
TEST(ReverseChangesE2E, WithoutItsBackupNothingIsHandedOver)
{
    const struct {
        const char* what;
        bool backupFolderIsAFile;
        std::string file;
        std::string why;
    } cases[] = {
        {"no backup folder", true, "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n\"MenuShowDelay\"=\"250\"\r\n",
         "cannot create the file"},
        {"another root", false, "[HKEY_CLASSES_ROOT\\.txt]\r\n\"Content Type\"=\"text/plain\"\r\n",
         "is not below HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Prepared inst;
        inst.Write("other.reg", "REGEDIT4\r\n\r\n" + c.file);
        if (c.backupFolderIsAFile) {
            std::filesystem::remove_all(inst.File("backup"));
            inst.Write("backup", "a file, not the folder");
        }
        const std::string store = inst.Read("registry.reg");
        const auto backups = [&inst] {
            std::set<std::string> names;
            if (std::filesystem::is_directory(inst.File("backup")))
                for (const auto& entry : std::filesystem::directory_iterator(inst.File("backup")))
                    names.insert(entry.path().filename().string());
            return names;
        };
        const std::set<std::string> before = backups();
        const auto out = RunOn(inst, 0, "pick " + inst.File("other.reg") + "\nmenu 32772\n");
        EXPECT_TRUE(ShellOpened(out).empty()) << Join(out);
        const auto boxes = Grep(out, "msgbox");
        ASSERT_EQ(boxes.size(), 2u) << Join(out);
        EXPECT_NE(boxes[1].find("was not handed over for import"), std::string::npos) << boxes[1];
        EXPECT_NE(boxes[1].find(c.why), std::string::npos) << boxes[1];
        EXPECT_NE(boxes[1].find("Nothing was changed."), std::string::npos) << boxes[1];
        EXPECT_EQ(inst.Read("registry.reg"), store);
        EXPECT_EQ(backups(), before);
    }
}
