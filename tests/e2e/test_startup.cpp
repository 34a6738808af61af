// The main window as initialisation leaves it, before and at the first tick.
#include "e2e/Screen.h"
#include "e2e/SmallInstallation.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

const std::string kPadding(66, ' ');

} // namespace

TEST(StartupE2E, ListFilterMenuAndCaptionsComeFromTheTranslation)
{
    Installation inst;
    WriteSmall(inst, {"First", "Gr\xf6\xdf" "e \"8-bit\"", "Third"}, {"10000 0810", "10001 x", "10002 y"}, "");
    const auto out = inst.Run("dump\nclose\n");
    EXPECT_TRUE(Grep(out, "msgbox").empty()) << Join(out);
    const Screen s = LastScreen(out);

    EXPECT_EQ(s.items, (std::vector<std::string>{"First", "Gr\xf6\xdf" "e \"8-bit\"", "Third"}));
    EXPECT_EQ(s.listMark, 0);
    EXPECT_TRUE(s.selectedItems.empty());

    ASSERT_EQ(s.entries.size(), 6u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(s.entries[i], "Category " + std::to_string(10 + 5 * i) + kPadding) << i;
    EXPECT_EQ(s.comboSel, 0);

    // History and Find are the program's own entries: a translation without
    // them shows them in English.
    const std::map<std::string, std::string> menu = {
        {"0", "T200"},   {"0.0", "  T210"}, {"0.1", "  &History of changes..."}, {"0.2", "  &Find..."},
        {"0.3", ""},     {"0.4", "  T205"}, {"0.5", ""},                         {"0.6", "  T220"},
        {"1", "T245"},   {"1.0", "  T250"}, {"1.1", "  T255"},                   {"1.2", ""},
        {"1.3", "  T260"},
    };
    EXPECT_EQ(s.menu, menu);
    EXPECT_EQ(s.sysmenu, (std::map<std::string, std::string>{{"0", ""}, {"1", "About ..."}}));
    for (const char* line : {"menu 0.0 32772 \"  T210\"", "menu 0.1 32782 \"  &History of changes...\"",
                             "menu 0.2 32780 \"  &Find...\"", "menu 0.6 32771 \"  T220\""})
        EXPECT_TRUE(Contains(out, line)) << line << "\n" << Join(out);

    EXPECT_EQ(s.Control(1019).text, "T50");
    // The first exchange empties the panel's texts and checks no radio button.
    for (int id : {1001, 1005, 1006, 1008, 1021})
        EXPECT_EQ(s.Control(id).text, "") << id;
    EXPECT_FALSE(s.Control(1002).checked);
    EXPECT_FALSE(s.Control(1003).checked);
    EXPECT_EQ(s.Control(1011).text, "Make your choice!");
}

TEST(StartupE2E, CategoryEntriesKeepTheirPlaceWhateverTheirTexts)
{
    Installation inst;
    WriteSmall(inst, {"Only"}, {"10000 0810", "10001 x", "10002 y"}, "");
    std::string t = inst.Read("0019trl.ini");
    for (const char* old : {"00010 Category 10", "00020 Category 20"})
        t.replace(t.find(old), std::string(old).size(), std::string(old, 6));
    inst.Write("0019trl.ini", t);
    const Screen s = LastScreen(inst.Run("dump\nclose\n"));
    ASSERT_EQ(s.entries.size(), 6u);
    EXPECT_EQ(s.entries[0], kPadding);
    EXPECT_EQ(s.entries[1], "Category 15" + kPadding);
    EXPECT_EQ(s.entries[2], kPadding);
    EXPECT_EQ(s.entries[5], "Category 35" + kPadding);
}

TEST(StartupE2E, AnEndMarkerAtTheFirstKeyGivesAnEmptyList)
{
    Installation inst;
    WriteSmall(inst, {}, {"10000 0810", "10001 x", "10002 y"}, "");
    const auto out = inst.Run("dump\ntick 3\ncategory 2\ntick 2\ndump\nclose\n");
    const auto screens = Screens(out);
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_TRUE(Grep(out, "error").empty()) << Join(out);
    for (const Screen& s : screens) {
        EXPECT_TRUE(s.items.empty());
        EXPECT_EQ(s.Control(1011).text, "Make your choice!");
    }
    EXPECT_EQ(screens[1].comboSel, 2);
    EXPECT_EQ(out.back(), "ended IDCANCEL");
}

// The functions of data/sample, as its translation file names them.
constexpr size_t kSampleFunctions = 253;

TEST(StartupE2E, TheSampleInstallationListsAllItsFunctions)
{
    Installation inst;
    const auto out = inst.Run("tick\ndump\nclose\n");
    ASSERT_EQ(Grep(out, "msgbox ").size(), 1u) << Join(out);
    EXPECT_TRUE(Grep(out, "error").empty()) << Join(out);
    const Screen s = LastScreen(out);
    ASSERT_EQ(s.items.size(), kSampleFunctions);
    EXPECT_EQ(s.items.front(), "Menu delay");
    EXPECT_EQ(s.items.back(), "Text cursor settings");
    EXPECT_EQ(s.Control(1011).text, "Menu delay");
    EXPECT_EQ(s.Control(1005).text, "400");
    EXPECT_EQ(s.Control(1010).text, "&Save new configuration");
    EXPECT_EQ(s.Control(1019).text, "Please select your tuning option");
}

TEST(StartupE2E, EveryFunctionOfTheSampleCanBeShownWithoutAnError)
{
    Installation inst;
    std::string script = "tick\n";
    for (int i = 0; i < int(kSampleFunctions); ++i)
        script += "select " + std::to_string(i) + "\ntick\ndump\n";
    for (int c = 1; c <= 5; ++c)
        script += "category " + std::to_string(c) + "\ntick 2\ndump\n";
    const auto out = inst.Run(script + "close\n");
    EXPECT_TRUE(Grep(out, "error").empty()) << Join(Grep(out, "error"));
    const auto screens = Screens(out);
    ASSERT_EQ(screens.size(), kSampleFunctions + 5);
    for (int i = 0; i < int(kSampleFunctions); ++i)
        EXPECT_EQ(screens[i].Control(1011).text, screens[i].items[i]) << i;
    // Each filtered list is not empty and shows its first function.
    for (int c = 1; c <= 5; ++c) {
        const Screen& s = screens[kSampleFunctions - 1 + c];
        ASSERT_FALSE(s.items.empty()) << "category " << c;
        EXPECT_LT(s.items.size(), kSampleFunctions) << "category " << c;
        EXPECT_EQ(s.Control(1011).text, s.items.front()) << "category " << c;
    }
}
