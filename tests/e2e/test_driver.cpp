// The driver refuses what a user could not do: a test whose script does not
// do what it says fails instead of passing on a window where nothing happened.
#include "e2e/Driver.h"

#include <gtest/gtest.h>

#include <stdexcept>

using e2e::Contains;
using e2e::Installation;

TEST(DriverE2E, ActionsOutOfReachAreIgnoredAndBadCommandsFailTheRun)
{
    struct Case {
        const char* line;
        bool bad; // else ignored
    };
    // After the first tick the sample shows "Menu delay", a number: the
    // radio buttons, the path field and Browse are hidden. The list holds 253
    // functions, the category filter 7 entries (the sample has Windows'
    // defaults).
    const Case cases[] = {
        {"chek 1003", true},    {"tick x", true},       {"tick -1", true},        {"select", true},
        {"key F25", true},      {"dump now", true},     {"answer maybe", true},   {"pick", true},
        {"check 1005", true},   {"type 1009 x", true},  {"click 1011", true},     {"menu x", true},
        {"check 1003", false},  {"type 1006 abc", false}, {"click 1007", false}, {"select 253", false},
        {"select -1", false},   {"category 7", false},  {"menu 12345", false},    {"answer no", false},
        {"pick /tmp tick 2", false}, {"choose Deutsch", false}, {"key F2", false}, {"key Ctrl+Alt+F", false},
        {"key Ctrl+", true},
    };
    Installation inst;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const e2e::Outcome out = inst.RunExpectingComplaints(std::string("tick\n") + c.line + "\nclick 2\n");
        EXPECT_TRUE(Contains(out.lines, std::string(c.bad ? "bad command" : "ignored") + " \"" + c.line + "\""))
            << e2e::Join(out.lines);
        EXPECT_EQ(out.status, c.bad ? 2 : 0);
        EXPECT_EQ(out.errors.empty(), !c.bad) << out.errors;
        // The script goes on after the complaint.
        EXPECT_TRUE(Contains(out.lines, "ended IDCANCEL"));
    }
    // Nothing happens after the dialog has ended: every later line is
    // reported, and the run fails.
    for (const Case& c : {Case{"bogus", true}, Case{"tick", false}, Case{"answer yes", false}}) {
        SCOPED_TRACE(c.line);
        const e2e::Outcome out = inst.RunExpectingComplaints(std::string("close\n") + c.line + "\n");
        ASSERT_GE(out.lines.size(), 2u);
        EXPECT_EQ(std::vector<std::string>(out.lines.end() - 2, out.lines.end()),
                  (std::vector<std::string>{"ended IDCANCEL",
                                            std::string(c.bad ? "bad command" : "ignored") + " \"" + c.line + "\""}));
        EXPECT_EQ(out.status, 2);
    }
    // While a box that the script works in is open, the main window behind
    // it is out of reach.
    const e2e::Outcome box = inst.RunExpectingComplaints("tick\nmenu 32780\nselect 3\ntype 1005 7\nclick 2\nclick 2\n");
    EXPECT_TRUE(Contains(box.lines, "ignored \"select 3\"")) << e2e::Join(box.lines);
    EXPECT_TRUE(Contains(box.lines, "ignored \"type 1005 7\"")) << e2e::Join(box.lines);
    EXPECT_TRUE(Contains(box.lines, "ended IDCANCEL"));
    EXPECT_EQ(box.status, 0);

    // The start-up question offers Yes and No, not OK.
    const e2e::Outcome ok = inst.RunExpectingComplaints("answer ok\nclick 2\n");
    EXPECT_TRUE(Contains(ok.lines, "ignored \"answer ok\"")) << e2e::Join(ok.lines);

    EXPECT_THROW(inst.Run("tick\nchek 1003\nclick 2\n"), std::runtime_error);
    EXPECT_THROW(inst.Run("tick\ncheck 1003\nclick 2\n"), std::runtime_error);
    EXPECT_NO_THROW(inst.Run("tick\n# check 1003\nclick 2\n"));
}
