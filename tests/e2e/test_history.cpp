// The history of changes through the driver: three saves listed newest
// first beside the registry's values, undone and restored again exactly, and
// each failure told by name with nothing changed.
#include "e2e/Screen.h"
#include "e2e/SmallInstallation.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace e2e;

namespace {

namespace fs = std::filesystem;

constexpr const char* kNow = "--now 2024-03-05T09:05";
constexpr const char* kOpen = "menu 32782\n";
constexpr int kStatus = 1041;
constexpr int kRestore = 1042;
constexpr int kUndo = 1043;

// Three kinds of value: an expandable text, a number and one that is not
// there yet, below a key that is not there either.
const std::vector<std::string> kNames = {"Alpha folder", "Beta switch", "Gamma text"};
const std::vector<std::string> kCatalogue = {
    "10000 0310", "10001 HKEY_CURRENT_USER\\\\Software\\\\Test", "10002 Folder",
    "10010 0710", "10011 HKEY_CURRENT_USER\\\\Software\\\\Test", "10012 Sw",
    "10020 0610", "10021 HKEY_CURRENT_USER\\\\Software\\\\New\\\\Deeper", "10022 Text",
};
const std::string kStore = "[HKEY_CURRENT_USER\\Software\\Test]\r\n\"Folder\"=hex(2):25,54,25,00\r\n"
                           "\"Sw\"=dword:00000001\r\n";
const std::string kFolder = "\"%T%\" (expandable)";

// Saves a new value for each function in turn, in the order of their names,
// so that the backups' names order them as their times do.
const std::string kThreeSaves = "tick\nselect 0\ntick\ntype 1006 C:\\x\nclick 1010\n"
                                "select 1\ntick\ncheck 1002\nclick 1010\n"
                                "select 2\ntick\ntype 1006 hello\nclick 1010\ntick\n";

struct Prepared : Installation {
    Prepared() { WriteSmall(*this, kNames, kCatalogue, kStore); }

    // The three values exactly, types and absence included.
    std::string Export() const
    {
        const Outcome run = RunCli(std::string(kNow) + " export 10000 10010 10020");
        EXPECT_EQ(run.status, 0) << run.errors;
        return run.output;
    }
};

std::vector<std::string> Row(const std::string& when, const std::string& function, const std::string& held,
                             const std::string& now)
{
    return {when, function, held, now};
}

} // namespace

TEST(HistoryE2E, ThreeSavesAreListedUndoneToTheValuesBeforeAndRestoredAgain)
{
    Prepared inst;
    const std::string before = inst.Export();
    const auto out = inst.Run(kThreeSaves + "dump\n" + kOpen + "dump\nselect 2\nanswer yes\nclick 1043\ndump\n" +
                                  "click 2\ntick\ndump\nclick 2\n",
                              kNow);
    const std::vector<Screen> s = Screens(out);
    ASSERT_EQ(s.size(), 4u) << Join(out);

    const std::string when = "2024-03-05 09:05";
    EXPECT_EQ(s[1].columns, (std::vector<std::string>{"When", "Function", "Value in the backup", "Value now"}));
    EXPECT_EQ(s[1].rows, (std::vector<std::vector<std::string>>{
                             Row(when, "Gamma text", "(none)", "\"hello\""),
                             Row(when, "Beta switch", "dword:00000001", "dword:00000000"),
                             Row(when, "Alpha folder", kFolder, "\"C:\\x\" (expandable)"),
                         }))
        << Join(out);
    EXPECT_EQ(s[1].selectedItems, std::set<int>{0}) << "the newest is chosen";
    EXPECT_EQ(s[1].Control(kStatus).text, "3 backups in \"" + inst.File("backup") + "\"");

    // One question, then what was changed.
    const auto boxes = Grep(out, "msgbox caption=\"History of changes\"");
    ASSERT_EQ(boxes.size(), 2u) << Join(out);
    EXPECT_NE(boxes[0].find("Undo every change from \\\"backup - 20240305 - 09.05 - Alpha folder.reg\\\" on (3 "
                            "backups)?"),
              std::string::npos)
        << boxes[0];
    EXPECT_NE(boxes[0].find("Values that change: 3."), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find("buttons=yesno icon=question -> yes"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[1].find("Values changed: 3. The backup \\\"backup - 20240305 - 09.05 - undo since 20240305 "
                            "09.05.reg\\\" holds them as they were."),
              std::string::npos)
        << boxes[1];
    EXPECT_NE(boxes[1].find("HKEY_CURRENT_USER\\\\Software\\\\New\\\\Deeper, Text: \\\"hello\\\" becomes (none)"),
              std::string::npos)
        << boxes[1];

    // The undo's own backup on top; every older row shows the registry
    // holding its value again, and so does the panel behind the box.
    ASSERT_EQ(s[2].rows.size(), 4u);
    EXPECT_EQ(s[2].rows[0][1], "undo since 20240305 09.05");
    EXPECT_EQ(s[2].selectedItems, std::set<int>{3}) << "the undone backup stays chosen, below the undo's own";
    EXPECT_EQ(s[2].rows[1], Row(when, "Gamma text", "(none)", "same: (none)"));
    EXPECT_EQ(s[2].rows[2], Row(when, "Beta switch", "dword:00000001", "same: dword:00000001"));
    EXPECT_EQ(s[2].rows[3], Row(when, "Alpha folder", kFolder, "same: " + kFolder));
    EXPECT_EQ(s[0].Control(1006).text, "hello");
    EXPECT_EQ(s[3].Control(1006).text, "");
    EXPECT_TRUE(Contains(out, "dialog 151 caption=\"History of changes\" -> IDCANCEL")) << Join(out);
    EXPECT_EQ(inst.Export(), before);
    EXPECT_EQ(inst.Read("registry.reg").find("Software\\New"), std::string::npos) << inst.Read("registry.reg");

    // Restoring the undo's backup makes the three changes again, behind a
    // backup of its own.
    const auto again =
        inst.Run("tick\n" + std::string(kOpen) + "answer yes\nclick 1042\ndump\nclick 2\nclick 2\n", kNow);
    const Screen after = LastScreen(again);
    ASSERT_EQ(after.rows.size(), 5u) << Join(again);
    EXPECT_EQ(after.rows[0][1], "restore undo since 20240305 09.05");
    EXPECT_EQ(after.rows[1][3], "same: Text=\"hello\"; Sw=dword:00000000; Folder=\"C:\\x\" (expandable)");
    EXPECT_TRUE(Contains(again, "msgbox caption=\"History of changes\" text=\"Restore the backup \\\"backup - "
                                "20240305 - 09.05 - undo since 20240305 09.05.reg\\\"?\\n\\nValues that change: 3. "
                                "What they hold now goes into a new backup first, so that this can be undone too.\" "
                                "buttons=yesno icon=question -> yes"))
        << Join(again);
}

TEST(HistoryE2E, WhatCannotBeDoneIsToldNamingTheFileAndChangesNothing)
{
    const std::string backup = "backup - 20240305 - 09.04 - Earlier.reg";
    struct Case {
        const char* what;
        std::string content; // of the backup; empty: no backup folder at all
        const char* script;
        std::string told;     // a part of the last box, in the driver's escapes; BACKUP: the backup's path
        std::size_t backups;  // backups afterwards
    };
    const Case cases[] = {
        {"a broken backup", "REGEDIT4\r\nx\r\n", "click 1042\n",
         "text=\"The backup cannot be read: \\\"BACKUP\\\", line 2: ", 1},
        {"a key below another root", "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\Test]\r\n\"V\"=\"1\"\r\n", "click 1043\n",
         "text=\"\\\"BACKUP\\\", line 3: the key \\\"HKEY_CLASSES_ROOT\\\\Test\\\" is not below", 1},
        {"a read-only store", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n\"Sw\"=dword:00000000\r\n",
         "answer yes\nclick 1043\n",
         "is read-only. Nothing was changed; the backup \\\"backup - 20240305 - 09.05 - undo since 20240305 "
         "09.04.reg\\\" holds the values from before.\" buttons=ok icon=error",
         2},
        {"the question answered No", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n\"Sw\"=dword:00000000\r\n",
         "answer no\nclick 1042\n", "Restore the backup \\\"" + backup + "\\\"?", 1},
        {"the registry holding the backup's values",
         "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n\"Sw\"=dword:00000001\r\n", "click 1042\n",
         "text=\"Nothing to change: the registry holds these values already.\" buttons=ok icon=none", 1},
        {"no backup folder", "", "click 1042\n", "text=\"Choose a backup in the list first.\"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Prepared inst;
        if (c.content.empty())
            fs::remove_all(inst.File("backup"));
        else
            inst.Write("backup/" + backup, c.content);
        if (std::string(c.what) == "a read-only store")
            fs::permissions(inst.Registry(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::remove);
        const auto out = inst.Run("tick\n" + std::string(kOpen) + c.script + "dump\nclick 2\nclick 2\n", kNow);
        const auto boxes = Grep(out, "msgbox caption=\"History of changes\"");
        ASSERT_FALSE(boxes.empty()) << Join(out);
        std::string told = c.told;
        if (const auto at = told.find("BACKUP"); at != std::string::npos)
            told.replace(at, 6, Escape(inst.File("backup" + std::string(1, inst.File("").back()) + backup)));
        EXPECT_NE(boxes.back().find(told), std::string::npos) << boxes.back();
        if (std::string(c.what) == "a read-only store")
            EXPECT_NE(boxes.front().find("Undo the change \\\"" + backup + "\\\" (1 backup)?"), std::string::npos)
                << boxes.front();
        EXPECT_EQ(inst.Read("registry.reg"), SmallStore(kStore));
        const bool folder = fs::exists(inst.File("backup"));
        EXPECT_EQ(folder ? static_cast<std::size_t>(std::distance(fs::directory_iterator(inst.File("backup")),
                                                                  fs::directory_iterator())) - 1
                         : 0u,
                  c.backups);
        if (!folder)
            EXPECT_NE(LastScreen(out).Control(kStatus).text.find(inst.File("backup")), std::string::npos);
        fs::permissions(inst.Registry(), fs::perms::owner_write, fs::perm_options::add);
    }
}

// A version 5 backup, as the Windows program writes one for text beyond its
// code page, is listed with its text; one within Windows-1252 restores
// exactly, and undoing since an older backup of the same value is not
// blocked by the one the store cannot hold.
TEST(HistoryE2E, VersionFiveBackupsAreListedRestoredAndUndoneOver)
{
    const auto version5 = [](const std::string& hex) {
        const std::string text = "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n"
                                 "\"Folder\"=hex(2):" + hex + "\r\n";
        std::string bytes = "\xFF\xFE";
        for (const char c : text)
            bytes += std::string{c, '\0'};
        return bytes;
    };
    Prepared inst;
    inst.Write("backup/backup - 20240305 - 09.00 - Alpha folder.reg",
               "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n\"Folder\"=hex(2):6f,6c,64,00");
    inst.Write("backup/backup - 20240305 - 09.02 - Alpha folder.reg",
               version5("47,00,72,00,fc,00,df,00,65,00,00,00"));
    inst.Write("backup/backup - 20240305 - 09.04 - Alpha folder.reg",
               version5("25,00,54,00,45,00,4d,00,50,00,25,00,5c,00,a9,03,00,00"));
    const auto out = inst.Run("tick\n" + std::string(kOpen) + "dump\nselect 1\nanswer yes\nclick 1042\ndump\n" +
                                  "select 3\nanswer yes\nclick 1043\ndump\nclick 2\nclick 2\n",
                              kNow);
    const std::vector<Screen> s = Screens(out);
    ASSERT_EQ(s.size(), 3u) << Join(out);
    ASSERT_EQ(s[0].rows.size(), 3u) << Join(out);
    EXPECT_EQ(s[0].rows[0][2], "\"%TEMP%\\?\" (expandable)");
    EXPECT_EQ(s[0].rows[1][2], "\"Gr\xfc\xdf" "e\" (expandable)");
    for (const std::string& box : Grep(out, "msgbox"))
        EXPECT_EQ(box.find("icon=error"), std::string::npos) << box;
    EXPECT_EQ(s[1].rows[2][3], "same: \"Gr\xfc\xdf" "e\" (expandable)") << Join(out);
    EXPECT_EQ(s[2].rows[0][1], "undo since 20240305 09.00") << Join(out);
    EXPECT_NE(inst.Read("registry.reg").find("\"Folder\"=hex(2):6f,6c,64,00"), std::string::npos)
        << inst.Read("registry.reg");
}
