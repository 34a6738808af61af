// Saving, Reverse changes and Browse through the driver: the backup files'
// exact bytes, what lands in the store, and what the user is told.
#include "e2e/Screen.h"
#include "e2e/SmallInstallation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sys/stat.h>

using namespace e2e;

namespace {

namespace fs = std::filesystem;

const std::string kKeyPath = "HKEY_CURRENT_USER\\\\Software\\\\Test";
const std::string kNow = "--now 2024-03-05T09:05";
const std::string kStamp = "backup - 20240305 - 09.05 - ";
const std::string kSaved = "msgbox caption=\"T5\" text=\"T100\\n\\nT105\\n\\nT110\" buttons=ok icon=none -> ok";

const std::vector<std::string> kNames = {
    "Menu delay", "Bounded dword", "Dword number", "Folder", "String switch", "Dword switch", "Yes no",
    "File",       "What? Yes: no", "Open",         "Odd kind", "Other root", "All bits",
};
const std::vector<std::string> kCatalogue = {
    "10000 0210", "10001 HKEY_CURRENT_USER\\\\Control Panel\\\\Desktop", "10002 MenuShowDelay", "10003 1000",
    "10004 8000",
    "10010 0910", "10011 " + kKeyPath, "10012 BDw", "10013 1000", "10014 8000",
    "10020 0810", "10021 " + kKeyPath, "10022 DwNum",
    "10030 0310", "10031 " + kKeyPath, "10032 Folder",
    "10040 0110", "10041 " + kKeyPath, "10042 Str",
    "10050 0710", "10051 " + kKeyPath, "10052 DwSw",
    "10060 1010", "10061 " + kKeyPath, "10062 YN",
    "10070 0510", "10071 " + kKeyPath, "10072 File", "10073 exe",
    "10080 0610", "10081 HKEY_CURRENT_USER\\\\Software\\\\New\\\\Deeper", "10082 Text",
    "10090 0410", "10091 notepad.exe",
    "10100 1110", "10101 " + kKeyPath, "10102 Str",
    "10110 0610", "10111 HKEY_CLASSES_ROOT\\\\Test", "10112 V",
    "10120 0810", "10121 " + kKeyPath, "10122 All",
};
const std::string kStore = "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n\"MenuShowDelay\"=\"400\"\r\n\r\n"
                           "[HKEY_CURRENT_USER\\Software\\Test]\r\n\"All\"=dword:ffffffff\r\n\"BDw\"=dword:00000fa0\r\n"
                           "\"DwNum\"=dword:000000ff\r\n\"DwSw\"=dword:00000000\r\n\"File\"=\"C:\\\\Tools\\\\a.exe\"\r\n"
                           "\"Folder\"=\"C:\\\\Temp\"\r\n\"Str\"=\"1\"\r\n\"YN\"=\"no\"\r\n";

// The backup files: name -> bytes.
std::map<std::string, std::string> Backups(const Installation& inst)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(inst.File("backup")))
        if (entry.path().extension() == ".reg")
            files[entry.path().filename().string()] = inst.Read("backup/" + entry.path().filename().string());
    return files;
}

// The question that Escape asks when the panel holds a value not saved.
std::string CloseQuestion(const std::string& name)
{
    return "msgbox caption=\"T5\" text=\"The new value of \\\"" + name +
           "\\\" has not been saved. Close without saving?\" buttons=yesno default=no icon=question -> yes";
}

// Shows list row `row`, runs `actions` and ends with Escape, which leaves the
// companion's marker in the store.
std::vector<std::string> RunOn(const Installation& inst, int row, const std::string& actions)
{
    return inst.Run("tick\nselect " + std::to_string(row) + "\ntick\n" + actions + "click 2\n", kNow);
}

struct Prepared : Installation {
    Prepared() { WriteSmall(*this, kNames, kCatalogue, kStore); }
};

} // namespace

TEST(SavingE2E, TheBackupHoldsTheOldValueExactlyAndTheNewValueIsWritten)
{
    struct Case {
        int row;
        const char* actions;
        const char* backup; // after "REGEDIT4" CR LF
        const char* stored; // the store's line afterwards
    };
    const Case cases[] = {
        {0, "type 1005 1000", "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n\"MenuShowDelay\"=\"400\"",
         "\"MenuShowDelay\"=\"1000\""},
        {2, "type 1005 -1", "[HKEY_CURRENT_USER\\Software\\Test]\r\n\"DwNum\"=dword:000000ff", "\"DwNum\"=dword:ffffffff"},
        {2, "type 1005 4294967295", "[HKEY_CURRENT_USER\\Software\\Test]\r\n\"DwNum\"=dword:000000ff",
         "\"DwNum\"=dword:ffffffff"},
        {12, "", "[HKEY_CURRENT_USER\\Software\\Test]\r\n\"All\"=dword:ffffffff", "\"All\"=dword:ffffffff"},
        {3, "type 1006 D:\\x", "[HKEY_CURRENT_USER\\Software\\Test]\r\n\"Folder\"=\"C:\\\\Temp\"", "\"Folder\"=\"D:\\\\x\""},
        {4, "check 1002", "[HKEY_CURRENT_USER\\Software\\Test]\r\n\"Str\"=\"1\"", "\"Str\"=\"0\""},
        {5, "check 1003", "[HKEY_CURRENT_USER\\Software\\Test]\r\n\"DwSw\"=dword:00000000", "\"DwSw\"=dword:00000001"},
        {6, "check 1003", "[HKEY_CURRENT_USER\\Software\\Test]\r\n\"YN\"=\"no\"", "\"YN\"=\"yes\""},
        {8, "type 1006 hi",
         "[HKEY_CURRENT_USER\\Software\\New\\Deeper]\r\n\"Text\"=-\r\n"
         "; created by this change: [HKEY_CURRENT_USER\\Software\\New]\r\n"
         "; created by this change: [HKEY_CURRENT_USER\\Software\\New\\Deeper]",
         "\"Text\"=\"hi\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kNames[static_cast<std::size_t>(c.row)] + " " + c.actions);
        Prepared inst;
        const auto out = RunOn(inst, c.row, std::string(c.actions) + "\nclick 1010\n");
        EXPECT_TRUE(Contains(out, kSaved)) << Join(out);
        EXPECT_TRUE(Grep(out, "error").empty()) << Join(out);
        // "?" and ":" cannot stand in a file name.
        const std::string name = c.row == 8 ? "What_ Yes_ no" : kNames[static_cast<std::size_t>(c.row)];
        EXPECT_EQ(Backups(inst), (std::map<std::string, std::string>{
                                     {kStamp + name + ".reg", std::string("REGEDIT4\r\n") + c.backup}}));
        EXPECT_NE(inst.Read("registry.reg").find(std::string(c.stored) + "\r\n"), std::string::npos)
            << inst.Read("registry.reg");
    }
}

TEST(SavingE2E, NumbersOutsideTheBoundsOrNotNumbersAreRefusedBeforeAnyBackup)
{
    // Bounds 1000 to 8000, as text and as a DWORD.
    for (const int row : {0, 1}) {
        SCOPED_TRACE(kNames[static_cast<std::size_t>(row)]);
        Prepared inst;
        std::string refused;
        const std::vector<std::string> inputs = {"999", "8001", "12a", "", "1,000", " 1000", "+1000", "--1", "-"};
        for (const std::string& input : inputs)
            refused += "type 1005 " + input + "\nclick 1010\n";
        const auto out = RunOn(inst, row, refused);
        const std::string hint = "msgbox caption=\"Tunewright\" text=\"Hint " + std::to_string(row) +
                                 "\" buttons=ok icon=none -> ok";
        // Escape then asks: the last value refused is still in the field.
        std::vector<std::string> boxes(inputs.size(), hint);
        boxes.push_back(CloseQuestion(kNames[static_cast<std::size_t>(row)]));
        EXPECT_EQ(Grep(out, "msgbox"), boxes) << Join(out);
        EXPECT_TRUE(Backups(inst).empty());
        EXPECT_EQ(inst.Read("registry.reg"), SmallStore(kStore));

        // The bounds themselves are taken; the second backup of the minute
        // gets " (2)" and holds what the first save wrote.
        const auto taken = RunOn(inst, row, "type 1005 1000\nclick 1010\ntype 1005 8000\nclick 1010\n");
        EXPECT_EQ(Grep(taken, "msgbox"), std::vector<std::string>(2, kSaved)) << Join(taken);
        const auto backups = Backups(inst);
        const std::string name = kStamp + kNames[static_cast<std::size_t>(row)];
        ASSERT_EQ(backups.size(), 2u);
        EXPECT_NE(backups.at(name + ".reg").find(row == 0 ? "=\"400\"" : "=dword:00000fa0"), std::string::npos);
        EXPECT_NE(backups.at(name + " (2).reg").find(row == 0 ? "=\"1000\"" : "=dword:000003e8"), std::string::npos);
        EXPECT_NE(inst.Read("registry.reg").find(row == 0 ? "=\"8000\"" : "=dword:00001f40"), std::string::npos);
    }
}

TEST(SavingE2E, WhatCannotBeSavedChangesNothingAndIsNotConfirmed)
{
    struct Case {
        const char* what;
        int row;
        const char* action;
        const char* message; // a part of the message box's or the error box's line
    };
    const Case cases[] = {
        {"no backup folder", 0, "type 1005 2000", "backup - 20240305 - 09.05 - Menu delay.reg\\\": cannot create the file"},
        {"a read-only store", 0, "type 1005 2000",
         "text=\"The value \\\"MenuShowDelay\\\" of the key \\\"HKEY_CURRENT_USER\\\\Control Panel\\\\Desktop\\\" "
         "could not be written: the registry store \\\"REGISTRY\\\" is read-only. Nothing was written; the backup"},
        {"a kind outside 1 to 10", 10, "type 1005 2000", "the function \\\"Odd kind\\\" has no kind that can be saved"},
        {"a root the program does not write", 11, "type 1006 x", "HKEY_CLASSES_ROOT\\\\\\\\Test\\\" could not be written"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Prepared inst;
        if (c.row == 0 && std::string(c.what) == "no backup folder")
            fs::remove_all(inst.File("backup"));
        else if (c.row == 0)
            ::chmod(inst.Registry().c_str(), 0444);
        const auto out = RunOn(inst, c.row, std::string(c.action) + "\nclick 1010\n");
        std::string message = c.message;
        if (const auto at = message.find("REGISTRY"); at != std::string::npos)
            message.replace(at, 8, Escape(inst.Registry()));
        EXPECT_NE(Join(out).find(message), std::string::npos) << Join(out);
        // One box per failed save; then Escape asks, nothing being saved,
        // unless the kind has no value to lose.
        const bool asks = c.row != 10;
        EXPECT_EQ(Grep(out, "msgbox").size() + Grep(out, "error ").size(), asks ? 2u : 1u) << Join(out);
        EXPECT_EQ(Contains(out, CloseQuestion(kNames[static_cast<std::size_t>(c.row)])), asks) << Join(out);
        EXPECT_FALSE(Contains(out, kSaved)) << Join(out);
        EXPECT_EQ(inst.Read("registry.reg"), SmallStore(kStore));
        // Only a write that fails after its backup leaves that backup.
        if (fs::exists(inst.File("backup")))
            EXPECT_EQ(Backups(inst).size(), std::string(c.what) == "a read-only store" ? 1u : 0u);
    }
}

TEST(SavingE2E, AnOpenTargetIsOpenedAfterItsMessageWithoutBackup)
{
    Prepared inst;
    const auto out = RunOn(inst, 9, "click 1010\n");
    EXPECT_EQ(Grep(out, "msgbox").size(), 1u) << Join(out);
    const auto message = std::find(out.begin(), out.end(),
                                   "msgbox caption=\"T5\" text=\"T85\\n\\nT90\\nT95\" buttons=ok icon=none -> ok");
    ASSERT_NE(message, out.end()) << Join(out);
    ASSERT_NE(message + 1, out.end());
    EXPECT_EQ(message[1], "shell open \"notepad.exe\"");
    EXPECT_TRUE(Backups(inst).empty());
    EXPECT_EQ(inst.Read("registry.reg"), SmallStore(kStore));
}

TEST(SavingE2E, ReverseChangesHandsTheChosenBackupToTheShell)
{
    Prepared inst;
    const std::string folder = Escape(inst.File("backup"));
    const std::string dialog = "filedialog filter=\"Registry files (*.reg)|*.reg\" folder=\"" + folder + "\" -> ";
    const std::string told = "msgbox caption=\"Orvelle Tunewright\" text=\"T115\\nT120\" buttons=ok icon=none -> ok";
    // A file that changes nothing, under a name that the Linux driver's shell
    // does not import, so that it only prints the hand-over, as on Windows.
    inst.Write("old.txt", "REGEDIT4\r\n");
    const std::string old = Escape(inst.File("old.txt"));
    const auto out = inst.Run("tick\npick " + inst.File("old.txt") + "\nmenu 32772\npick cancel\nmenu 32772\nclick 2\n");
    EXPECT_EQ(Grep(out, "msgbox"), std::vector<std::string>(2, told)) << Join(out);
    EXPECT_EQ(Grep(out, "filedialog"), (std::vector<std::string>{dialog + "\"" + old + "\"", dialog + "cancel"}));
    EXPECT_EQ(Grep(out, "shell"), std::vector<std::string>{"shell open \"" + old + "\""});
}

TEST(SavingE2E, BrowsePutsThePickedPathIntoTheFieldAndWritesNothing)
{
    Prepared inst;
    const auto folder = RunOn(inst, 3, "pick /data/new place\nclick 1007\ndump\n");
    EXPECT_TRUE(Contains(folder, "folderdialog title=\"T80\" -> \"/data/new place\"")) << Join(folder);
    EXPECT_EQ(LastScreen(folder).Control(1006).text, "/data/new place");

    const auto file = RunOn(inst, 7, "pick /tools/x.exe\nclick 1007\ndump\npick cancel\nclick 1007\ndump\n");
    EXPECT_EQ(Grep(file, "filedialog"),
              (std::vector<std::string>{"filedialog filter=\"exe files (*.exe)|*.exe|All files (*.*)|*.*\" "
                                        "folder=\"C:\\\\Tools\\\\a.exe\" -> \"/tools/x.exe\"",
                                        "filedialog filter=\"exe files (*.exe)|*.exe|All files (*.*)|*.*\" "
                                        "folder=\"/tools/x.exe\" -> cancel"}))
        << Join(file);
    for (const Screen& s : Screens(file))
        EXPECT_EQ(s.Control(1006).text, "/tools/x.exe");
    EXPECT_TRUE(Backups(inst).empty());
    EXPECT_EQ(inst.Read("registry.reg"), SmallStore(kStore));
}

TEST(SavingE2E, AnExpandableTextIsShownAsStoredAndStaysExpandable)
{
    // hex(2): the text's bytes and its terminating zero.
    const auto expandable = [](const std::string& text) {
        static const char digits[] = "0123456789abcdef";
        std::string line = "\"Personal\"=hex(2):";
        for (const char c : text + '\0') {
            const auto byte = static_cast<unsigned char>(c);
            line += std::string{digits[byte >> 4], digits[byte & 15], ','};
        }
        line.pop_back();
        return line;
    };
    Installation inst;
    std::vector<std::string> names = kNames, catalogue = kCatalogue;
    names.push_back("Documents");
    for (const char* line : {"10130 0310", "10131 HKEY_CURRENT_USER\\\\Shell", "10132 Personal"})
        catalogue.push_back(line);
    WriteSmall(inst, names, catalogue, kStore + "\r\n[HKEY_CURRENT_USER\\Shell]\r\n" + expandable("%USERPROFILE%") + "\r\n");

    const auto out = RunOn(inst, 13, "dump\ntype 1006 %TEMP%\\a\nclick 1010\n");
    EXPECT_EQ(LastScreen(out).Control(1006).text, "%USERPROFILE%");
    EXPECT_TRUE(Contains(out, kSaved)) << Join(out);
    EXPECT_NE(inst.Read("registry.reg").find(expandable("%TEMP%\\a") + "\r\n"), std::string::npos)
        << inst.Read("registry.reg");
    EXPECT_EQ(Backups(inst), (std::map<std::string, std::string>{
                                 {kStamp + "Documents.reg",
                                  "REGEDIT4\r\n[HKEY_CURRENT_USER\\Shell]\r\n" + expandable("%USERPROFILE%")}}));
}
