// The option panel through the driver: which controls each kind shows, their
// captions, and the value that the registry store holds.
#include "e2e/Screen.h"
#include "e2e/SmallInstallation.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

// The catalogue's key path of the test values (backslashes doubled) and its
// key line in the store.
const std::string kKeyPath = "HKEY_CURRENT_USER\\\\Software\\\\Test";
const std::string kStoreKey = "[HKEY_CURRENT_USER\\Software\\Test]\r\n";

// One function of every kind; headers vary the group digit and availability.
const std::vector<std::string> kEveryKind = {
    "10000 0110", "10001 " + kKeyPath, "10002 Str",
    "10010 0201", "10011 " + kKeyPath, "10012 Num", "10013 10", "10014 9000",
    "10020 0302", "10021 " + kKeyPath, "10022 Folder",
    "10030 0413", "10031 C:\\\\Windows\\\\regedit.exe",
    "10040 0504", "10041 " + kKeyPath, "10042 File", "10043 Pictures (*.bmp)|*.bmp",
    "10050 0610", "10051 " + kKeyPath, "10052 Text",
    "10060 0711", "10061 " + kKeyPath, "10062 DwSw",
    "10070 0812", "10071 " + kKeyPath, "10072 DwNum",
    "10080 0913", "10081 " + kKeyPath, "10082 BDw", "10083 0", "10084 100",
    "10090 1014", "10091 " + kKeyPath, "10092 YN",
};
const std::vector<std::string> kEveryKindNames = {"String switch", "String number", "Folder", "Open",
                                                   "File",          "Plain text",    "Dword switch",
                                                   "Dword number",  "Bounded dword", "Yes no"};
const std::string kEveryKindStore = kStoreKey +
                                    "\"Str\"=\"1\"\r\n"
                                    "\"Num\"=\"250\"\r\n"
                                    "\"Folder\"=\"C:\\\\Data\"\r\n"
                                    "\"File\"=\"C:\\\\Pics\\\\a.bmp\"\r\n"
                                    "\"Text\"=\"Hello \\\"you\\\"\"\r\n"
                                    "\"DwSw\"=dword:00000002\r\n"
                                    "\"DwNum\"=dword:ffffffff\r\n"
                                    "\"BDw\"=dword:0000002a\r\n"
                                    "\"YN\"=\"yes\"\r\n";

// Shows each of `count` functions in turn and dumps the window after each;
// `more` runs before the window is closed.
std::string ShowEach(int count, const std::string& more = "")
{
    std::string script = "tick\n";
    for (int i = 0; i < count; ++i)
        script += "select " + std::to_string(i) + "\ntick\ndump\n";
    return script + more + "close\n";
}

// Which radio button is checked: 1002, 1003, or 0 for neither.
int CheckedRadio(const Screen& s)
{
    const bool off = s.Control(1002).checked, on = s.Control(1003).checked;
    EXPECT_FALSE(off && on) << "both radio buttons are checked";
    return on ? 1003 : off ? 1002 : 0;
}

} // namespace

TEST(PanelE2E, EveryKindShowsItsControlsCaptionsAndValue)
{
    struct Expected {
        std::vector<int> shown; // value controls 1002-1007
        const char* save;       // caption of 1010
        int radio;              // checked radio, 0 for none expected
        int field;              // the edit that shows the value, 0 for none
        const char* value;
        const char* availability;
    };
    const Expected expected[] = {
        {{1002, 1003, 1004}, "T55", 1003, 0, "", "Available 140"},
        {{1004, 1005}, "T55", 0, 1005, "250", "Available 145"},
        {{1004, 1006, 1007}, "T55", 0, 1006, "C:\\Data", "Available 150"},
        {{}, "T75", 0, 0, "", "Available 155"},
        {{1004, 1006, 1007}, "T55", 0, 1006, "C:\\Pics\\a.bmp", "Available 160"},
        {{1004, 1006}, "T55", 0, 1006, "Hello \"you\"", "Available 140"},
        {{1002, 1003, 1004}, "T55", 1003, 0, "", "Available 145"},
        {{1004, 1005}, "T55", 0, 1005, "-1", "Available 150"},
        {{1004, 1005}, "T55", 0, 1005, "42", "Available 155"},
        {{1002, 1003, 1004}, "T55", 1003, 0, "", "Available 160"},
    };
    Installation inst;
    WriteSmall(inst, kEveryKindNames, kEveryKind, kEveryKindStore);
    const auto out = inst.Run(ShowEach(10));
    EXPECT_TRUE(Grep(out, "error").empty()) << Join(out);
    const auto screens = Screens(out);
    ASSERT_EQ(screens.size(), 10u) << Join(out);

    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE("function " + std::to_string(i) + " " + kEveryKindNames[i]);
        const Screen& s = screens[i];
        const Expected& e = expected[i];
        EXPECT_EQ(s.ShownValueControls(), e.shown);
        EXPECT_EQ(s.Control(1011).text, kEveryKindNames[i]);
        EXPECT_EQ(s.Control(1001).text, "Hint " + std::to_string(i));
        EXPECT_EQ(s.Control(1008).text, "Info " + std::to_string(i));
        EXPECT_EQ(s.Control(1021).text, e.availability);
        EXPECT_EQ(s.Control(1010).text, e.save);
        for (int always : {1001, 1008, 1010, 1011, 1021})
            EXPECT_TRUE(s.Control(always).shown) << always;
        if (e.radio != 0) {
            EXPECT_EQ(CheckedRadio(s), e.radio);
            EXPECT_EQ(s.Control(1002).text, "T60");
            EXPECT_EQ(s.Control(1003).text, "T65");
        }
        if (e.field != 0) {
            EXPECT_EQ(s.Control(e.field).text, e.value);
        }
        if (s.Control(1007).shown) {
            EXPECT_EQ(s.Control(1007).text, "T70");
        }
    }
    // The file path carries its extension through the hidden number field.
    EXPECT_EQ(screens[4].Control(1005).text, "bmp");
    EXPECT_FALSE(screens[4].Control(1005).shown);
}

TEST(PanelE2E, SwitchesAreOnOnlyForTheExactStoredOnState)
{
    struct Case {
        const char* kind;
        const char* stored; // store line after the value name, "" for a missing value
        int radio;
    };
    const Case cases[] = {
        {"01", "=\"1\"", 1003},          {"01", "=\"01\"", 1002},      {"01", "=\" 1\"", 1002},
        {"01", "=\"1 \"", 1002},         {"01", "=\"0\"", 1002},       {"01", "=\"\"", 1002},
        {"01", "", 1002},                {"01", "=dword:00000001", 1002},
        {"10", "=\"yes\"", 1003},        {"10", "=\"Yes\"", 1002},     {"10", "=\"YES\"", 1002},
        {"10", "=\"no\"", 1002},         {"10", "", 1002},             {"10", "=\"yes \"", 1002},
        {"07", "=dword:00000002", 1003}, {"07", "=dword:00000001", 1003},
        {"07", "=dword:ffffffff", 1003}, {"07", "=dword:00000000", 1002}, {"07", "", 1002},
    };
    std::vector<std::string> catalogue, names;
    std::string store = kStoreKey;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string key = std::to_string(10000 + 10 * i), value = "V" + std::to_string(i);
        catalogue.push_back(key.substr(0, 4) + "0 " + cases[i].kind + "10");
        catalogue.push_back(key.substr(0, 4) + "1 " + kKeyPath);
        catalogue.push_back(key.substr(0, 4) + "2 " + value);
        names.push_back("Switch " + std::to_string(i));
        if (*cases[i].stored)
            store += "\"" + value + "\"" + cases[i].stored + "\r\n";
    }
    Installation inst;
    WriteSmall(inst, names, catalogue, store);
    const auto screens = Screens(inst.Run(ShowEach(static_cast<int>(std::size(cases)))));
    ASSERT_EQ(screens.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(CheckedRadio(screens[i]), cases[i].radio)
            << "kind " << cases[i].kind << ", stored \"" << cases[i].stored << "\"";
}

TEST(PanelE2E, ValuesAreShownAsTheReadsReturnThem)
{
    struct Case {
        std::string header, keyPath, stored;
        int field;
        const char* shown;
    };
    const Case cases[] = {
        {"0810", kKeyPath, "=dword:ffffffff", 1005, "-1"},
        {"0810", kKeyPath, "=dword:80000000", 1005, "-2147483648"},
        {"0810", kKeyPath, "=dword:7fffffff", 1005, "2147483647"},
        {"0910", kKeyPath, "=dword:fffffffe", 1005, "-2"},
        {"0810", kKeyPath, "", 1005, "0"},
        {"0810", "HKEY_CLASSES_ROOT\\\\Software\\\\Test", "=dword:00000005", 1005, "1"},
        {"0210", kKeyPath, "", 1005, ""},
        {"0210", kKeyPath, "=dword:00000005", 1005, "No REG_SZ"},
        {"0610", "HKCU\\\\Software\\\\Test", "=\"x\"", 1006, "Registry key was not found :-( "},
        {"0610", "hkey_current_user\\\\Software\\\\Test", "=\"x\"", 1006, "Registry key was not found :-( "},
        {"0610", kKeyPath, "=\"\"", 1006, ""},
        {"0310", "HKEY_CURRENT_USER\\\\Software\\\\Missing", "", 1006, ""},
    };
    std::vector<std::string> catalogue, names;
    std::string store = kStoreKey;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string key = std::to_string(1000 + i), value = "V" + std::to_string(i);
        catalogue.insert(catalogue.end(), {key + "0 " + cases[i].header, key + "1 " + cases[i].keyPath,
                                           key + "2 " + value, key + "3 1", key + "4 9"});
        names.push_back("Value " + std::to_string(i));
        if (!cases[i].stored.empty())
            store += "\"" + value + "\"" + cases[i].stored + "\r\n";
    }
    Installation inst;
    WriteSmall(inst, names, catalogue, store);
    const auto screens = Screens(inst.Run(ShowEach(static_cast<int>(std::size(cases)))));
    ASSERT_EQ(screens.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(screens[i].Control(cases[i].field).text, cases[i].shown) << "case " << i;
        EXPECT_TRUE(screens[i].Control(cases[i].field).shown) << "case " << i;
    }
}

TEST(PanelE2E, FilePathTakesTheLastThreeCharactersOfTheExtensionLine)
{
    const std::vector<std::string> extensions = {"Pictures (*.bmp)|*.bmp", "x.scr", ".cur", "10043 ani",
                                                 "exe   ", "ab"};
    std::vector<std::string> catalogue, names;
    for (std::size_t i = 0; i < extensions.size(); ++i) {
        const std::string key = std::to_string(1000 + i);
        catalogue.insert(catalogue.end(), {key + "0 0510", key + "1 " + kKeyPath, key + "2 F", key + "3 " + extensions[i]});
        names.push_back("File " + std::to_string(i));
    }
    Installation inst;
    WriteSmall(inst, names, catalogue, kStoreKey + "\"F\"=\"C:\\\\x.bmp\"\r\n");
    const auto screens = Screens(inst.Run(ShowEach(static_cast<int>(extensions.size()))));
    ASSERT_EQ(screens.size(), extensions.size());
    const char* expected[] = {"bmp", "scr", "cur", "ani", "   ", "ab"};
    for (std::size_t i = 0; i < extensions.size(); ++i) {
        EXPECT_EQ(screens[i].Control(1005).text, expected[i]) << extensions[i];
        EXPECT_FALSE(screens[i].Control(1005).shown);
        EXPECT_EQ(screens[i].Control(1006).text, "C:\\x.bmp");
    }
}

TEST(PanelE2E, WhatAKindDoesNotSetSurvivesFromThePreviousFunction)
{
    // switch (on) -> number -> open target -> kind 11 -> short header -> switch
    const std::vector<std::string> catalogue = {
        "10000 0712", "10001 " + kKeyPath, "10002 DwSw",
        "10010 0814", "10011 " + kKeyPath, "10012 DwNum",
        "10020 0415", "10021 C:\\\\Windows\\\\notepad.exe",
        "10030 1111", "10031 " + kKeyPath, "10032 Str",
        "10040 069", "10041 " + kKeyPath, "10042 Text",
        "10050 0110", "10051 " + kKeyPath, "10052 Str",
    };
    Installation inst;
    WriteSmall(inst, {"Switch", "Number", "Open", "Kind eleven", "Short header", "Other switch"}, catalogue,
               kStoreKey + "\"DwSw\"=dword:00000001\r\n\"DwNum\"=dword:00000007\r\n\"Str\"=\"0\"\r\n"
                           "\"Text\"=\"abc\"\r\n");
    const auto out = inst.Run(ShowEach(6));
    const auto screens = Screens(out);
    ASSERT_EQ(screens.size(), 6u) << Join(out);

    // The number leaves the hidden radio group as the switch set it.
    EXPECT_EQ(screens[1].ShownValueControls(), (std::vector<int>{1004, 1005}));
    EXPECT_TRUE(screens[1].Control(1003).checked);
    EXPECT_EQ(screens[1].Control(1021).text, "Available 160");

    // The open target hides every value control and keeps the number's text;
    // code "5" is no availability code, so the number's text stays.
    EXPECT_EQ(screens[2].ShownValueControls(), std::vector<int>{});
    EXPECT_EQ(screens[2].Control(1010).text, "T75");
    EXPECT_EQ(screens[2].Control(1005).text, "7");
    EXPECT_EQ(screens[2].Control(1021).text, "Available 160");

    // Kind 11 changes texts and availability only: the layout of the open
    // target stays, and so does the caption of 1010.
    EXPECT_EQ(screens[3].Control(1011).text, "Kind eleven");
    EXPECT_EQ(screens[3].Control(1001).text, "Hint 3");
    EXPECT_EQ(screens[3].Control(1021).text, "Available 145");
    EXPECT_EQ(screens[3].ShownValueControls(), std::vector<int>{});
    EXPECT_EQ(screens[3].Control(1010).text, "T75");

    // A header of three characters has no availability code.
    EXPECT_EQ(screens[4].ShownValueControls(), (std::vector<int>{1004, 1006}));
    EXPECT_EQ(screens[4].Control(1006).text, "abc");
    EXPECT_EQ(screens[4].Control(1021).text, "Available 145");
    EXPECT_EQ(screens[4].Control(1010).text, "T55");

    // The next switch sets the radio group from its own value.
    EXPECT_EQ(CheckedRadio(screens[5]), 1002);
    EXPECT_EQ(screens[5].Control(1021).text, "Available 140");
}

TEST(PanelE2E, TheLastBlockOfADuplicatedKeyWins)
{
    const std::vector<std::string> catalogue = {
        "10000 0110", "10001 " + kKeyPath, "10002 Str",
        "10010 0411", "10011 notepad.exe",
        "10000 0812", "10001 " + kKeyPath, "10002 DwNum",
    };
    Installation inst;
    WriteSmall(inst, {"Twice", "Open"}, catalogue, kStoreKey + "\"Str\"=\"1\"\r\n\"DwNum\"=dword:00000009\r\n");
    const Screen s = LastScreen(inst.Run("tick\ndump\nclose\n"));
    EXPECT_EQ(s.ShownValueControls(), (std::vector<int>{1004, 1005}));
    EXPECT_EQ(s.Control(1005).text, "9");
    EXPECT_EQ(s.Control(1021).text, "Available 150");
    // The first block ran too: the switch's captions were set on the way.
    EXPECT_EQ(s.Control(1002).text, "T60");
}

TEST(PanelE2E, TwoFunctionsWithOneNameAreShownEachByItsOwnRow)
{
    const std::vector<std::string> catalogue = {
        "10000 0810", "10001 " + kKeyPath, "10002 A",
        "10010 0810", "10011 " + kKeyPath, "10012 B",
    };
    Installation inst;
    WriteSmall(inst, {"Same", "Same"}, catalogue, kStoreKey + "\"A\"=dword:00000001\r\n\"B\"=dword:00000002\r\n");
    const auto screens = Screens(inst.Run(ShowEach(2, "select 0\ntick\ndump\n")));
    ASSERT_EQ(screens.size(), 3u);
    EXPECT_EQ(screens[0].items, (std::vector<std::string>{"Same", "Same"}));
    EXPECT_EQ(screens[0].Control(1005).text, "1");
    EXPECT_EQ(screens[0].Control(1001).text, "Hint 0");
    EXPECT_EQ(screens[1].Control(1005).text, "2");
    EXPECT_EQ(screens[1].Control(1001).text, "Hint 1");
    EXPECT_EQ(screens[2].Control(1005).text, "1");
}

TEST(PanelE2E, AFunctionWithoutABlockChangesOnlyItsTexts)
{
    const std::vector<std::string> catalogue = {"10000 0812", "10001 " + kKeyPath, "10002 N"};
    Installation inst;
    WriteSmall(inst, {"Number", "Missing"}, catalogue, kStoreKey + "\"N\"=dword:00000003\r\n");
    const auto out = inst.Run(ShowEach(2));
    const auto screens = Screens(out);
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_TRUE(Grep(out, "error").empty()) << Join(out);
    EXPECT_EQ(screens[1].Control(1011).text, "Missing");
    EXPECT_EQ(screens[1].Control(1001).text, "Hint 1");
    EXPECT_EQ(screens[1].Control(1008).text, "Info 1");
    EXPECT_EQ(screens[1].Control(1005).text, "3");
    EXPECT_EQ(screens[1].Control(1021).text, "Available 150");
    EXPECT_EQ(screens[1].ShownValueControls(), (std::vector<int>{1004, 1005}));
}

TEST(PanelE2E, AMissingCatalogueIsReportedOncePerOperationAndLeavesThePanel)
{
    Installation inst;
    WriteSmall(inst, {"One", "Two"}, {}, "");
    std::filesystem::remove(inst.File("0019fct.ini"));
    const auto out = inst.Run("tick 5\ndump\nselect 1\ntick 5\ndump\ncategory 1\ntick 5\ndump\nclose\n");
    const auto errors = Grep(out, "error ");
    ASSERT_EQ(errors.size(), 3u) << Join(out);
    for (const auto& e : errors)
        EXPECT_NE(e.find("0019fct.ini"), std::string::npos) << e;

    const auto screens = Screens(out);
    ASSERT_EQ(screens.size(), 3u);
    // The panel stays as the start-up left it: template captions, empty texts.
    for (const Screen& s : screens) {
        EXPECT_EQ(s.Control(1011).text, "Make your choice!");
        EXPECT_EQ(s.Control(1001).text, "");
        EXPECT_EQ(s.Control(1008).text, "");
        EXPECT_EQ(s.Control(1021).text, "");
    }
    EXPECT_EQ(screens[1].items.size(), 2u);
    // A failed refill leaves the list empty.
    EXPECT_TRUE(screens[2].items.empty());
    EXPECT_EQ(screens[2].comboSel, 1);
    EXPECT_TRUE(Contains(out, "ended IDCANCEL"));
}

TEST(PanelE2E, ABlankBeforeTheKindDigitStillMakesAnOpenTarget)
{
    const std::vector<std::string> catalogue = {
        "10000 0812", "10001 " + kKeyPath, "10002 N",
        "10010  413", "10011 calc.exe",
        "10020 0812", "10021 " + kKeyPath, "10022 N",
    };
    Installation inst;
    WriteSmall(inst, {"Number", "Blank open", "Number again"}, catalogue, kStoreKey + "\"N\"=dword:00000004\r\n");
    const auto screens = Screens(inst.Run(ShowEach(3)));
    ASSERT_EQ(screens.size(), 3u);
    EXPECT_EQ(screens[1].ShownValueControls(), std::vector<int>{});
    EXPECT_EQ(screens[1].Control(1010).text, "T75");
    EXPECT_EQ(screens[1].Control(1021).text, "Available 155");
    // The open target's single block line is not mistaken for the next header.
    EXPECT_EQ(screens[2].Control(1010).text, "T55");
    EXPECT_EQ(screens[2].Control(1005).text, "4");
}

TEST(PanelE2E, TheCatalogueReadsTheSameWhateverItsLineEnds)
{
    const std::vector<std::string> catalogue = {
        "10000 0411", "10001 notepad.exe",
        "10010 0213", "10011 " + kKeyPath, "10012 Num", "10013 1", "10014 9",
    };
    const std::vector<std::string> names = {"Open", "Number"};
    const std::string store = kStoreKey + "\"Num\"=\"5\"\r\n";
    for (const std::string end : {"\r\n", "\n"}) {
        for (const bool lastEnd : {true, false}) {
            SCOPED_TRACE(std::string(end == "\r\n" ? "CR LF" : "LF") +
                         (lastEnd ? "" : ", no end after the last line"));
            Installation inst;
            WriteSmall(inst, names, {}, store);
            std::string text = Lines(catalogue, end);
            if (!lastEnd)
                text.erase(text.size() - end.size());
            inst.Write("0019fct.ini", text);
            const auto out = inst.Run(ShowEach(2, "category 3\ntick 2\ndump\n"));
            const auto screens = Screens(out);
            ASSERT_EQ(screens.size(), 3u) << Join(out);
            EXPECT_EQ(screens[0].Control(1010).text, "T75");
            EXPECT_EQ(screens[1].Control(1005).text, "5");
            EXPECT_EQ(screens[1].Control(1021).text, "Available 155");
            EXPECT_EQ(screens[2].items, std::vector<std::string>{"Open"});
        }
    }
}
