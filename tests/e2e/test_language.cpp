// Switching the language from the File menu: the choice lands in config.ini
// and the whole window, start-up question included, takes it on at once.
#include "e2e/Driver.h"
#include "e2e/Screen.h"

#include <gtest/gtest.h>

using e2e::Contains;
using e2e::Grep;
using e2e::Installation;

namespace {

std::string Uac(const std::string& lines)
{
    return "msgbox caption=\"Orvelle Tunewright\" text=\"" + lines + "\" buttons=yesno icon=question";
}

} // namespace

TEST(LanguageSelection, ChoosingGermanRetranslatesEverythingAndAsksAgain)
{
    Installation inst;
    const auto out = inst.Run("tick\nchoose Deutsch\nanswer yes\nmenu 32779\ntick 2\ndump\nclick 2\n");
    const auto boxes = Grep(out, "msgbox");
    ASSERT_EQ(boxes.size(), 2u) << e2e::Join(out);
    EXPECT_NE(boxes[0].find("User Account Control"), std::string::npos);
    EXPECT_NE(boxes[1].find("Benutzerkontensteuerung"), std::string::npos);
    EXPECT_TRUE(Contains(out, "dialog 134 caption=\"Language Selection\" -> IDOK"));
    EXPECT_TRUE(Contains(out, "menu 0 - \"&Datei\""));
    EXPECT_TRUE(Contains(out, "menu 0.6 32771 \"  &Beenden\""));
    EXPECT_TRUE(Contains(out, "combo 1009 sel=0 count=7"));
    EXPECT_TRUE(Contains(out, "entry 0 \"Alle Funktionen" + std::string(66, ' ') + "\""));
    EXPECT_TRUE(Contains(out, "entry 6 \"Ge\xe4" "ndert gegen\xfc" "ber Windows-Standard" + std::string(66, ' ') + "\""));
    EXPECT_TRUE(Contains(out, "list 1000 mark=0 count=253"));
    // The system menu keeps its one About entry.
    EXPECT_EQ(Grep(out, "sysmenu").size(), 2u);
    EXPECT_NE(inst.Read("config.ini").find("Language\r\n[1031]\r\n"), std::string::npos);
}

TEST(LanguageSelection, NoToTheRepeatedQuestionEndsTheProgram)
{
    Installation inst;
    // The window is gone after the No: the close that follows never happens.
    const auto run = inst.RunExpectingComplaints("tick\nchoose Deutsch\nanswer no\nmenu 32779\ntick\nclose\n");
    const auto& out = run.lines;
    ASSERT_EQ(Grep(out, "msgbox").size(), 2u);
    EXPECT_EQ(Grep(out, "ended "), std::vector<std::string>{"ended IDCANCEL"});
    EXPECT_EQ(Grep(out, "ignored "), (std::vector<std::string>{"ignored \"tick\"", "ignored \"close\""}));
    EXPECT_EQ(run.status, 2);
    // The program ended before the close step: the marker stays.
    EXPECT_NE(inst.Read("registry.reg").find("\"active\""), std::string::npos);
}

TEST(LanguageSelection, ChoicesThatNameNoOtherLanguageChangeNothing)
{
    Installation inst;
    const std::string config = inst.Read("config.ini");
    for (const std::string choice : {"English", "[1031]", "System default language", "Klingon"}) {
        const auto out = inst.Run("choose " + choice + "\nmenu 32779\ndump\nclick 2\n");
        EXPECT_EQ(Grep(out, "msgbox").size(), 1u) << choice << ": no second start-up";
        EXPECT_TRUE(Contains(out, "menu 0 - \"&File\"")) << choice;
        EXPECT_EQ(inst.Read("config.ini"), config) << choice;
    }
}

TEST(LanguageSelection, ASettingThatCannotBeStoredIsReportedAndChangesNothing)
{
    Installation inst;
    // "Language" is the last line: there is no value line to replace.
    const std::string config = "Product ID\r\n0019\r\nLanguage";
    inst.Write("config.ini", config);
    const auto out = inst.Run("choose Deutsch\nmenu 32779\ndump\nclick 2\n");
    const auto errors = Grep(out, "error ");
    ASSERT_EQ(errors.size(), 1u) << e2e::Join(out);
    EXPECT_NE(errors[0].find("config.ini"), std::string::npos);
    EXPECT_TRUE(Contains(out, "menu 0 - \"&File\""));
    EXPECT_EQ(inst.Read("config.ini"), config);
}

TEST(LanguageSelection, TheTimerTicksWhileTheDialogAndTheQuestionWait)
{
    // Each time an item is clicked and the menu opened before a tick could
    // show it: only a tick inside the dialog or the question shows it.
    Installation inst;
    const auto out = inst.Run("tick\nselect 2\nchoose English tick\nmenu 32779\ndump\n"
                              "select 3\nchoose Deutsch\nanswer yes tick 2\nmenu 32779\ndump\nclick 2\n");
    const auto screens = e2e::Screens(out);
    ASSERT_EQ(screens.size(), 2u) << e2e::Join(out);
    EXPECT_EQ(screens[0].Control(1011).text, screens[0].items[2]);
    // The question comes before the list is refilled in German: the name is
    // the one the list held.
    EXPECT_EQ(screens[1].Control(1011).text, screens[0].items[3]);
    EXPECT_NE(screens[1].items[3], screens[0].items[3]);
}
