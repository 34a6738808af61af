// The 100 ms poll through the driver: when a selection or a category change
// shows, what survives a click on the shown item, and how the window ends.
#include "e2e/Screen.h"
#include "e2e/SmallInstallation.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

const std::string kKeyPath = "HKEY_CURRENT_USER\\\\Software\\\\Test";

// Group digits 1 0 1 0 0 1; kinds number, number, open, folder, file, " 4".
const std::vector<std::string> kCatalogue = {
    "10000 0810", "10001 " + kKeyPath, "10002 A",
    "10010 0800", "10011 " + kKeyPath, "10012 B",
    "10020 0410", "10021 notepad.exe",
    "10030 0300", "10031 " + kKeyPath, "10032 Folder",
    "10040 0500", "10041 " + kKeyPath, "10042 File", "10043 *.txt",
    "10050  410", "10051 calc.exe",
};
const std::vector<std::string> kNames = {"Alpha", "Beta", "Open", "Folder", "File", "Blank open"};
const std::string kStore = "[HKEY_CURRENT_USER\\Software\\Test]\r\n\"A\"=dword:00000001\r\n"
                           "\"B\"=dword:00000002\r\n\"Folder\"=\"C:\\\\F\"\r\n\"File\"=\"C:\\\\x.txt\"\r\n";

void Prepare(const Installation& inst)
{
    WriteSmall(inst, kNames, kCatalogue, kStore);
}

// How many error events each stretch of output before a dump holds.
std::vector<int> ErrorsBeforeEachDump(const std::vector<std::string>& lines)
{
    std::vector<int> counts(1, 0);
    for (const auto& l : lines) {
        if (l.rfind("error ", 0) == 0)
            ++counts.back();
        else if (l.rfind("control 1000 ", 0) == 0)
            counts.push_back(0);
    }
    return counts;
}

} // namespace

TEST(PollingE2E, TheFirstTickShowsFunctionZeroWithoutSelectingIt)
{
    Installation inst;
    Prepare(inst);
    const auto screens = Screens(inst.Run("dump\ntick\ndump\ntick 3\ndump\nclose\n"));
    ASSERT_EQ(screens.size(), 3u);
    EXPECT_EQ(screens[0].Control(1011).text, "Make your choice!");
    EXPECT_EQ(screens[1].Control(1011).text, "Alpha");
    EXPECT_EQ(screens[1].Control(1005).text, "1");
    for (const Screen& s : screens) {
        EXPECT_EQ(s.listMark, 0);
        EXPECT_TRUE(s.selectedItems.empty());
    }
    EXPECT_EQ(screens[2].Control(1011).text, "Alpha");
}

TEST(PollingE2E, ACategoryChangeRefillsOnTheNextTickAndShowsOnTheTickAfter)
{
    struct Case {
        int category;
        std::vector<std::string> listed;
    };
    const Case cases[] = {
        {1, {"Beta", "Folder", "File"}},
        {2, {"Alpha", "Open", "Blank open"}},
        {3, {"Open"}},
        {4, {"Folder"}},
        {5, {"File"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("category " + std::to_string(c.category));
        Installation inst;
        Prepare(inst);
        const auto screens =
            Screens(inst.Run("tick\ncategory " + std::to_string(c.category) + "\ndump\ntick\ndump\ntick\ndump\nclose\n"));
        ASSERT_EQ(screens.size(), 3u);
        // Before the tick: the old list, the new entry in the drop-down.
        EXPECT_EQ(screens[0].items.size(), kNames.size());
        EXPECT_EQ(screens[0].comboSel, c.category);
        // The tick that sees the change refills; the panel still shows Alpha.
        EXPECT_EQ(screens[1].items, c.listed);
        EXPECT_EQ(screens[1].listMark, 0);
        EXPECT_TRUE(screens[1].selectedItems.empty());
        EXPECT_EQ(screens[1].comboSel, c.category);
        EXPECT_EQ(screens[1].Control(1011).text, "Alpha");
        // The tick after shows the new first function.
        EXPECT_EQ(screens[2].Control(1011).text, c.listed.front());
        EXPECT_EQ(screens[2].comboSel, c.category);
    }
}

TEST(PollingE2E, CategoryEntriesWithOneTextKeepTheirOwnPlace)
{
    // Entry 1 reads like entry 0; showing its first function must not turn
    // the choice back into entry 0.
    for (const char* text : {"Category 10", "CATEGORY 10"}) {
        SCOPED_TRACE(text);
        Installation inst;
        Prepare(inst);
        std::string translation = SmallTranslation(kNames);
        translation.replace(translation.find("Category 15"), 11, text);
        inst.Write("0019trl.ini", translation);
        const Screen s = LastScreen(inst.Run("tick\ncategory 1\ntick 4\ndump\nclose\n"));
        EXPECT_EQ(s.comboSel, 1);
        EXPECT_EQ(s.items, (std::vector<std::string>{"Beta", "Folder", "File"}));
        EXPECT_EQ(s.Control(1011).text, "Beta");
    }
}

TEST(PollingE2E, BackToAllFunctionsListsEveryFunctionAgain)
{
    Installation inst;
    Prepare(inst);
    const auto screens = Screens(inst.Run("tick\ncategory 4\ntick 2\ncategory 0\ntick\ndump\ntick\ndump\nclose\n"));
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(screens[0].items, kNames);
    EXPECT_EQ(screens[0].Control(1011).text, "Folder");
    EXPECT_EQ(screens[1].Control(1011).text, "Alpha");
}

TEST(PollingE2E, AnEmptyCategoryListsNothingAndKeepsThePanel)
{
    Installation inst;
    Prepare(inst);
    // Only kind "05" would match category 5: take the file out.
    std::vector<std::string> catalogue = kCatalogue;
    catalogue[11] = "10040 0600";
    inst.Write("0019fct.ini", Lines(catalogue));
    const auto out = inst.Run("tick\ncategory 5\ntick 3\ndump\nclose\n");
    const auto screens = Screens(out);
    ASSERT_EQ(screens.size(), 1u);
    EXPECT_TRUE(Grep(out, "error").empty()) << Join(out);
    // The mark stays at 0, past the end of the empty list: it names nothing.
    EXPECT_TRUE(screens[0].items.empty());
    EXPECT_EQ(screens[0].listMark, 0);
    EXPECT_EQ(screens[0].comboSel, 5);
    EXPECT_EQ(screens[0].Control(1011).text, "Alpha");
    EXPECT_EQ(screens[0].Control(1005).text, "1");
}

TEST(PollingE2E, ARefillWhoseFirstItemIsShownKeepsTheUnsavedEdit)
{
    Installation inst;
    Prepare(inst);
    const auto screens =
        Screens(inst.Run("tick\nselect 1\ntick\ntype 1005 777\ncategory 1\ntick 3\ndump\nclose\n"));
    ASSERT_EQ(screens.size(), 1u);
    EXPECT_EQ(screens[0].items.front(), "Beta");
    EXPECT_EQ(screens[0].Control(1011).text, "Beta");
    EXPECT_EQ(screens[0].Control(1005).text, "777");
}

TEST(PollingE2E, ClickingTheShownItemKeepsUnsavedEditsAndAnotherItemRereads)
{
    Installation inst;
    Prepare(inst);
    const auto screens = Screens(inst.Run("tick\nselect 1\ntick\ntype 1005 12345\ntick\nselect 1\ntick 3\ndump\n"
                                          "select 3\ntick\ntype 1006 D:\\new\ntick\nselect 1\ntick\ndump\n"
                                          "select 3\ntick\ndump\nclose\n"));
    ASSERT_EQ(screens.size(), 3u);
    EXPECT_EQ(screens[0].Control(1011).text, "Beta");
    EXPECT_EQ(screens[0].Control(1005).text, "12345");
    // Another function and back: both values come from the store again.
    EXPECT_EQ(screens[1].Control(1005).text, "2");
    EXPECT_EQ(screens[2].Control(1006).text, "C:\\F");
}

TEST(PollingE2E, AFunctionKeyWithoutAHeaderIsReportedAndNotListedByTheFilter)
{
    Installation inst;
    WriteSmall(inst, {"Alpha", "Beta", "Gamma", "Delta"},
               {"10000 0800", "10001 " + kKeyPath, "10002 A", "10010 0810", "10011 " + kKeyPath, "10012 B"}, "");
    const auto out = inst.Run("tick\ncategory 1\ntick 2\ndump\ncategory 0\ntick 2\ndump\ncategory 2\ntick 2\ndump\n"
                              "close\n");
    const auto errors = Grep(out, "error ");
    ASSERT_EQ(errors.size(), 2u) << Join(out);
    for (const auto& e : errors) {
        const auto file = e.find("0019fct.ini");
        ASSERT_NE(file, std::string::npos) << e;
        // The keys are named after the file (its folder's name is random).
        const std::string rest = e.substr(file);
        EXPECT_NE(rest.find("10020"), std::string::npos) << e;
        EXPECT_NE(rest.find("10030"), std::string::npos) << e;
        EXPECT_EQ(rest.find("10010"), std::string::npos) << e;
    }
    const auto screens = Screens(out);
    ASSERT_EQ(screens.size(), 3u);
    EXPECT_EQ(screens[0].items, std::vector<std::string>{"Alpha"});
    EXPECT_EQ(screens[1].items, (std::vector<std::string>{"Alpha", "Beta", "Gamma", "Delta"}));
    EXPECT_EQ(screens[2].items, std::vector<std::string>{"Beta"});
    // Told once per refill of a filtering category; all functions need no header.
    EXPECT_EQ(ErrorsBeforeEachDump(out), (std::vector<int>{1, 0, 1, 0}));
}

TEST(PollingE2E, TheFilterMessageComesFromTheTranslationFile)
{
    Installation inst;
    WriteSmall(inst, {"Alpha", "Beta", "Gamma"}, {"10000 0800", "10001 " + kKeyPath, "10002 A"}, "");
    std::string translation = inst.Read("0019trl.ini");
    translation.insert(translation.find("00005 "), "01650 Ohne Kopfzeile: %2 in %1\r\n01651 Ohne Kopfzeilen: %2 in %1\r\n");
    inst.Write("0019trl.ini", translation);
    const auto errors = Grep(inst.Run("tick\ncategory 1\ntick 2\nclose\n"), "error ");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "error \"Ohne Kopfzeilen: 10010, 10020 in " + Escape(inst.File("0019fct.ini")) + "\"");
}

TEST(PollingE2E, CloseAndExitDeleteTheMarkerWhileEnterAndEscapeDoNot)
{
    struct Case {
        const char* command;
        const char* ended;
        bool markerKept;
    };
    const Case cases[] = {
        {"close", "ended IDCANCEL", false},
        {"menu 32771", "ended IDOK", false},
        {"menu 61536", "ended IDCANCEL", false}, // the system menu's Close
        {"click 1", "ended IDOK", true},
        {"click 2", "ended IDCANCEL", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        Installation inst;
        Prepare(inst);
        inst.Write("registry.reg", "REGEDIT4\r\n\r\n" + std::string(kMarkerSection) + "\r\n" + kMarkerLine +
                                       "\r\n\"other\"=\"stays\"\r\n\r\n" + kStore);
        ASSERT_TRUE(StoreHasMarker(inst));
        const auto run = inst.RunExpectingComplaints(std::string("tick\n") + c.command + "\ntick\ndump\n");
        const auto& out = run.lines;
        EXPECT_EQ(Grep(out, "ended "), std::vector<std::string>{c.ended}) << Join(out);
        EXPECT_TRUE(Screens(out).empty()) << "the dialog ran on after it ended";
        EXPECT_EQ(Grep(out, "ignored "), (std::vector<std::string>{"ignored \"tick\"", "ignored \"dump\""}));
        EXPECT_EQ(StoreHasMarker(inst), c.markerKept);
        // Only the marker goes; the rest of the store stays.
        EXPECT_NE(inst.Read("registry.reg").find("\"other\"=\"stays\""), std::string::npos);
        EXPECT_NE(inst.Read("registry.reg").find("\"B\"=dword:00000002"), std::string::npos);
    }
}

TEST(PollingE2E, EveryWayToCloseAsksBeforeATypedValueIsLost)
{
    const std::string question = "msgbox caption=\"T5\" text=\"The new value of \\\"Beta\\\" has not been saved. "
                                 "Close without saving?\" buttons=yesno default=no icon=question -> ";
    struct Case {
        const char* command;
        const char* ended;
    };
    const Case cases[] = {
        {"close", "ended IDCANCEL"}, {"menu 32771", "ended IDOK"}, {"menu 61536", "ended IDCANCEL"},
        {"click 1", "ended IDOK"},   {"click 2", "ended IDCANCEL"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        Installation inst;
        Prepare(inst);
        inst.Write("registry.reg", SmallStore(kStore));
        // No returns to the window as it was, the marker still there; Yes
        // closes as the command does without the question.
        const std::string command = c.command;
        const auto out = inst.Run("tick\nselect 1\ntick\ntype 1005 777\nanswer no\n" + command + "\ndump\n" +
                                  "answer yes\n" + command + "\n");
        EXPECT_EQ(Grep(out, "msgbox"), (std::vector<std::string>{question + "no", question + "yes"})) << Join(out);
        ASSERT_EQ(Screens(out).size(), 1u) << Join(out);
        EXPECT_EQ(Screens(out)[0].Control(1005).text, "777");
        EXPECT_EQ(out.back(), c.ended);
        EXPECT_NE(inst.Read("registry.reg").find("\"B\"=dword:00000002"), std::string::npos);
    }
}

// Another pick while a typed value is unsaved asks once, however many polls
// run while the question waits: Yes shows the pick, No and Escape keep the
// typed value and select its function's row again.
TEST(PollingE2E, PickingAnotherFunctionAsksBeforeATypedValueIsLost)
{
    const std::string question = "msgbox caption=\"T5\" text=\"The new value of \\\"Alpha\\\" has not been saved. "
                                 "Show \\\"Beta\\\" without saving?\" buttons=yesno default=no icon=question -> ";
    struct Case {
        const char* answer;
        const char* shown;
        const char* value;
        int row;
        std::size_t questions; // closing asks again while 777 is unsaved
    };
    const Case cases[] = {
        {"answer yes tick 3", "yes", "2", 1, 1},
        {"answer no tick 3", "no", "777", 0, 2},
        {"answer cancel", "no", "777", 0, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        Installation inst;
        Prepare(inst);
        const auto out = inst.Run(std::string("tick\ntype 1005 777\n") + c.answer + "\nselect 1\ntick 2\ndump\n" +
                                  (c.questions == 2 ? "answer yes\n" : "") + "close\n");
        ASSERT_EQ(Grep(out, "msgbox").size(), c.questions) << Join(out);
        EXPECT_EQ(Grep(out, "msgbox").front(), question + c.shown) << Join(out);
        const Screen screen = LastScreen(out);
        EXPECT_EQ(screen.Control(1011).text, kNames[static_cast<std::size_t>(c.row)]);
        EXPECT_EQ(screen.Control(1005).text, c.value);
        EXPECT_EQ(screen.listMark, c.row);
        EXPECT_EQ(screen.selectedItems, std::set<int>{c.row});
    }
}

TEST(PollingE2E, ClosingAsksNothingWhenNothingWouldBeLost)
{
    const char* scripts[] = {
        "tick\nclose\n",                                            // nothing typed
        "tick\nselect 1\ntick\ntype 1005 777\ntype 1005 2\nclose\n", // typed back to the value shown
        "tick\nselect 1\ntick\ntype 1005 777\nclick 1010\nclick 2\n",  // saved
        "tick\nselect 1\ntick\ntype 1005 777\nanswer yes\nselect 0\ntick 2\nclick 1\n", // another function shown
        "tick\nselect 2\ntick\nclose\n",                          // a target to open has no value
    };
    for (const char* script : scripts) {
        SCOPED_TRACE(script);
        Installation inst;
        Prepare(inst);
        const auto out = inst.Run(script);
        for (const auto& box : Grep(out, "msgbox"))
            EXPECT_EQ(box.find("Close without saving"), std::string::npos) << box;
        EXPECT_EQ(Grep(out, "ended ").size(), 1u) << Join(out);
    }
}

TEST(PollingE2E, ANoToTheStartupQuestionKeepsTheMarker)
{
    Installation inst; // the sample store: EnableLUA=1 and the marker
    ASSERT_TRUE(StoreHasMarker(inst));
    const auto out = inst.RunExpectingComplaints("answer no\ntick\nclose\n").lines;
    ASSERT_EQ(Grep(out, "msgbox ").size(), 1u) << Join(out);
    EXPECT_EQ(Grep(out, "ended "), std::vector<std::string>{"ended IDCANCEL"});
    EXPECT_TRUE(Contains(out, "ignored \"close\"")) << Join(out);
    EXPECT_TRUE(StoreHasMarker(inst));

    const auto yes = inst.Run("tick\nclose\n");
    EXPECT_EQ(yes.back(), "ended IDCANCEL");
    EXPECT_FALSE(StoreHasMarker(inst));
}

TEST(PollingE2E, ClosingWithoutAMarkerIsSilent)
{
    Installation inst;
    Prepare(inst);
    inst.Write("registry.reg", "REGEDIT4\r\n\r\n" + kStore);
    const auto out = inst.Run("tick\nclose\n");
    EXPECT_EQ(out, std::vector<std::string>{"ended IDCANCEL"});
    EXPECT_FALSE(StoreHasMarker(inst));
    EXPECT_NE(inst.Read("registry.reg").find("\"A\"=dword:00000001"), std::string::npos);
}

TEST(PollingE2E, FunctionNinetyNineCanBeTheFirstFunctionShown)
{
    std::vector<std::string> names, catalogue;
    for (int i = 0; i < 120; ++i) {
        const std::string key = std::to_string(1000 + i);
        names.push_back("Function " + std::to_string(i));
        catalogue.insert(catalogue.end(), {key + "0 0810", key + "1 " + kKeyPath, key + "2 V" + std::to_string(i)});
    }
    Installation inst;
    WriteSmall(inst, names, catalogue, "[HKEY_CURRENT_USER\\Software\\Test]\r\n\"V99\"=dword:00000063\r\n");
    const Screen s = LastScreen(inst.Run("select 99\ntick\ndump\nclose\n"));
    EXPECT_EQ(s.Control(1011).text, "Function 99");
    EXPECT_EQ(s.Control(1005).text, "99");
}

TEST(PollingE2E, TheSeventhEntryListsWhatDiffersFromWindowsDefaultsWhereThereAreAny)
{
    Installation inst;
    Prepare(inst);
    // Alpha has no value, as Windows; Beta and Folder differ; File is as Windows has it.
    inst.Write("registry.reg", SmallStore("[HKEY_CURRENT_USER\\Software\\Test]\r\n\"B\"=dword:00000002\r\n"
                                          "\"Folder\"=\"C:\\\\F\"\r\n\"File\"=\"C:\\\\x.txt\"\r\n"));
    inst.Write("0019def.ini", "10000 -\r\n10010 dword:00000000\r\n10030 -\r\n10040 \"C:\\\\x.txt\"\r\n");
    const auto out = inst.Run("tick\ncategory 6\ntick 2\ndump\nclose\n");
    const Screen s = LastScreen(out);
    EXPECT_TRUE(Grep(out, "error").empty()) << Join(out);
    ASSERT_EQ(s.entries.size(), 7u);
    EXPECT_EQ(s.entries[6].substr(0, 28), "Changed from Windows default");
    EXPECT_EQ(s.comboSel, 6);
    EXPECT_EQ(s.items, (std::vector<std::string>{"Beta", "Folder"}));

    // A bad line is told naming the file and the line; the list stays empty.
    inst.Write("0019def.ini", "10000 -\r\n10010 dword:0000000x\r\n");
    const auto bad = inst.Run("tick\ncategory 6\ntick 2\ndump\nclose\n");
    const auto errors = Grep(bad, "error");
    ASSERT_EQ(errors.size(), 1u) << Join(bad);
    EXPECT_NE(errors[0].find("0019def.ini\\\", line 2: "), std::string::npos) << errors[0];
    EXPECT_TRUE(LastScreen(bad).items.empty());

    // Without the file the filter has its six entries.
    std::filesystem::remove(inst.File("0019def.ini"));
    const Outcome without = inst.RunExpectingComplaints("tick\ncategory 6\ndump\nclose\n");
    EXPECT_TRUE(Contains(without.lines, "ignored \"category 6\"")) << Join(without.lines);
    EXPECT_EQ(LastScreen(without.lines).entries.size(), 6u);
}
