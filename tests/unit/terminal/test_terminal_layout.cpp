// Dialog units to character cells.
#include "toolkit/Resources.h"
#include "backends/terminal/GrowLayout.h"
#include "backends/terminal/Layout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using backends::terminal::CellRect;
using toolkit::ControlKind;
using toolkit::DialogTemplate;

DialogTemplate Parse(const std::string& controls, int cx = 200, int cy = 100)
{
    const std::string script = "7 DIALOGEX 0, 0, " + std::to_string(cx) + ", " + std::to_string(cy) +
                               "\nSTYLE WS_POPUP | WS_CAPTION\nCAPTION \"T\"\nFONT 8, \"MS Sans Serif\"\nBEGIN\n" +
                               controls + "END\n";
    return toolkit::ParseResourceScript(script, "test.rc").dialogs.at(0);
}

const toolkit::ControlTemplate& Control(const DialogTemplate& t, int id)
{
    for (const auto& c : t.controls)
        if (c.id == id)
            return c;
    throw std::runtime_error("no control " + std::to_string(id));
}

std::size_t IndexOf(const DialogTemplate& t, int id)
{
    for (std::size_t i = 0; i < t.controls.size(); ++i)
        if (t.controls[i].id == id)
            return i;
    throw std::runtime_error("no control " + std::to_string(id));
}

TEST(TerminalLayout, MapsEachKindOfControlToCells)
{
    const DialogTemplate t = Parse(
        "    CONTROL \"\", 1, \"SysListView32\", LVS_REPORT, 22, 59, 208, 81\n"
        "    CONTROL \"G\", 2, \"Button\", BS_GROUPBOX, 16, 43, 386, 102\n"
        "    CONTROL \"R\", 3, \"Button\", BS_AUTORADIOBUTTON, 27, 184, 74, 10\n"
        "    CONTROL \"\", 4, \"ComboBox\", CBS_DROPDOWNLIST, 244, 127, 149, 30\n"
        "    CONTROL \"B\", 5, \"Button\", BS_PUSHBUTTON, 295, 203, 98, 22\n"
        "    CONTROL \"S\", 6, \"Static\", SS_LEFT, 27, 173, 2, 2\n",
        420, 271);
    const backends::terminal::DialogScale full;
    EXPECT_EQ(backends::terminal::MapControl(Control(t, 1), full), (CellRect{6, 7, 51, 10})) << "a block shrinks to the cells it covers";
    EXPECT_EQ(backends::terminal::MapControl(Control(t, 2), full), (CellRect{4, 5, 97, 13})) << "a frame takes the nearest cell edges";
    EXPECT_EQ(backends::terminal::MapControl(Control(t, 3), full), (CellRect{7, 23, 18, 1})) << "one row through the middle";
    EXPECT_EQ(backends::terminal::MapControl(Control(t, 4), full).y, 16) << "the closed combo box, not its list";
    EXPECT_EQ(backends::terminal::MapControl(Control(t, 4), full).h, 1);
    EXPECT_EQ(backends::terminal::MapControl(Control(t, 5), full), (CellRect{74, 26, 24, 1}));
    EXPECT_EQ(backends::terminal::MapControl(Control(t, 6), full), (CellRect{7, 22, 1, 1})) << "never less than one cell";

    const backends::terminal::DialogScale half{0.5, 0.5};
    EXPECT_EQ(backends::terminal::MapControl(Control(t, 1), half), (CellRect{3, 4, 25, 4}));
}

TEST(TerminalLayout, SeesControlsThatScalingPushesTogether)
{
    // Two lines of text 9 units apart, inside a group box.
    const DialogTemplate t = Parse("    CONTROL \"G\", 1, \"Button\", BS_GROUPBOX, 0, 0, 200, 60\n"
                                   "    CONTROL \"A\", 2, \"Static\", SS_LEFT, 10, 20, 100, 8\n"
                                   "    CONTROL \"B\", 3, \"Static\", SS_LEFT, 10, 29, 100, 8\n"
                                   "    CONTROL \"\", 4, \"Static\", SS_BITMAP, 0, 0, 200, 60\n");
    const auto cells = [&](double sy) {
        std::vector<CellRect> out;
        for (const auto& c : t.controls)
            out.push_back(backends::terminal::MapControl(c, {1.0, sy}));
        return out;
    };
    EXPECT_FALSE(backends::terminal::HasCollision(t, cells(1.0)));
    EXPECT_TRUE(backends::terminal::HasCollision(t, cells(0.6))) << "the two lines share a row";

    // A text that lands on the bottom line of its group box.
    const DialogTemplate framed = Parse("    CONTROL \"G\", 1, \"Button\", BS_GROUPBOX, 0, 10, 200, 40\n"
                                        "    CONTROL \"A\", 2, \"Static\", SS_LEFT, 10, 38, 100, 8\n");
    std::vector<CellRect> onFrame;
    for (const auto& c : framed.controls)
        onFrame.push_back(backends::terminal::MapControl(c, {}));
    EXPECT_TRUE(backends::terminal::HasCollision(framed, onFrame));

    // Controls that overlap in the template already are not the layout's fault,
    // and hidden ones never show.
    const DialogTemplate overlapping = Parse("    CONTROL \"A\", 1, \"Static\", SS_LEFT, 10, 10, 100, 8\n"
                                             "    CONTROL \"B\", 2, \"Static\", SS_LEFT, 10, 12, 100, 8\n"
                                             "    CONTROL \"C\", 3, \"Button\", BS_PUSHBUTTON | NOT WS_VISIBLE, 10, 10, 50, 14\n");
    std::vector<CellRect> same;
    for (const auto& c : overlapping.controls)
        same.push_back(backends::terminal::MapControl(c, {}));
    EXPECT_FALSE(backends::terminal::HasCollision(overlapping, same));
}

TEST(TerminalLayout, DropsEmptyRowsThenPictureRowsThenBlankGroupRows)
{
    // Rows at full scale: picture 0-4, group 5-14 with text on rows 7 and 12,
    // nothing on rows 15-19.
    const DialogTemplate t = Parse("    CONTROL \"\", -1, \"Static\", SS_BITMAP, 0, 0, 200, 40\n"
                                   "    CONTROL \"G\", 1, \"Button\", BS_GROUPBOX, 0, 40, 200, 80\n"
                                   "    CONTROL \"A\", 2, \"Static\", SS_LEFT, 10, 56, 100, 8\n"
                                   "    CONTROL \"B\", 3, \"Static\", SS_LEFT, 10, 96, 100, 8\n",
                                   200, 160);
    backends::terminal::DialogLayout full;
    full.cols = 50;
    full.rows = 20;
    for (const auto& c : t.controls)
        full.controls.push_back(backends::terminal::MapControl(c, {}));
    ASSERT_EQ(full.controls[0], (CellRect{0, 0, 50, 5}));
    ASSERT_EQ(full.controls[1], (CellRect{0, 5, 50, 10}));

    const auto rows = [&](int maxRows) { return backends::terminal::CompactRows(t, full, maxRows); };
    EXPECT_EQ(rows(25).rows, 20) << "room enough: nothing goes";
    EXPECT_EQ(rows(15).rows, 15);
    EXPECT_EQ(rows(15).controls[0].h, 5) << "the empty rows go first";
    EXPECT_EQ(rows(11).controls[0], (CellRect{0, 0, 50, 1})) << "then the picture keeps one row";
    EXPECT_EQ(rows(11).controls[1], (CellRect{0, 1, 50, 10}));
    EXPECT_EQ(rows(7).controls[1].h, 6) << "blank rows in the group go from the bottom up";
    const backends::terminal::DialogLayout tight = rows(5);
    EXPECT_EQ(tight.rows, 5);
    EXPECT_EQ(tight.controls[0].h, 1);
    EXPECT_EQ(tight.controls[1], (CellRect{0, 1, 50, 4})) << "frame lines and texts stay";
    EXPECT_EQ(tight.controls[2].y, 2);
    EXPECT_EQ(tight.controls[3].y, 3);
    const backends::terminal::DialogLayout smallest = rows(3);
    EXPECT_EQ(smallest.rows, 4) << "no more rows can go";
    EXPECT_TRUE(smallest.controls[0].Empty());
}

TEST(TerminalLayout, TheMainDialogFitsLargeAndSmallTerminals)
{
    const DialogTemplate& main = toolkit::GetDialogTemplate(102);
    const backends::terminal::DialogLayout large = backends::terminal::LayoutDialog(main, 120, 37);
    EXPECT_EQ(large.scale.x, 1.0);
    EXPECT_EQ(large.scale.y, 1.0);
    EXPECT_EQ(large.cols, 105);
    EXPECT_EQ(large.rows, 34);

    // 80 x 24 less the title, menu and key help lines.
    const backends::terminal::DialogLayout small = backends::terminal::LayoutDialog(main, 80, 21);
    EXPECT_LE(small.cols, 80);
    EXPECT_LE(small.rows, 21);
    EXPECT_FALSE(backends::terminal::HasCollision(main, small.controls));
    EXPECT_GE(small.controls[IndexOf(main, 1000)].h, 8) << "the function list keeps its rows";
    for (std::size_t i = 0; i < main.controls.size(); ++i) {
        const auto& c = main.controls[i];
        if (c.Visible() && c.kind != ControlKind::StaticBitmap) {
            EXPECT_FALSE(small.controls[i].Empty()) << "control " << c.id;
        }
    }

    // Too small for everything: full-size rows, to be scrolled.
    const backends::terminal::DialogLayout tiny = backends::terminal::LayoutDialog(main, 60, 10);
    EXPECT_GT(tiny.rows, 10);
    EXPECT_FALSE(backends::terminal::HasCollision(main, tiny.controls));
}

// On a terminal larger than the dialog the list and the info text take the
// room; the controls keep apart and the buttons keep their size. On 80 x 24
// nothing grows.
TEST(TerminalLayout, TheMainDialogGrowsIntoALargeTerminal)
{
    const DialogTemplate& main = toolkit::GetDialogTemplate(102);
    const auto cell = [&](const backends::terminal::DialogLayout& l, int id) { return l.controls[IndexOf(main, id)]; };
    const backends::terminal::DialogLayout natural = backends::terminal::LayoutDialog(main, 105, 34);
    const backends::terminal::DialogLayout big = backends::terminal::FillLayout(main, 200, 57);
    EXPECT_EQ(big.cols, 200);
    EXPECT_EQ(big.rows, 57);
    EXPECT_FALSE(backends::terminal::HasCollision(main, big.controls));
    EXPECT_GE(cell(big, 1000).h, 31) << "the list shows 30 functions and more";
    EXPECT_GE(cell(big, 1000).w, cell(natural, 1000).w + 40);
    EXPECT_GE(cell(big, 1008).w, cell(natural, 1008).w + 40);
    EXPECT_EQ(cell(big, 1008).h - cell(natural, 1008).h, 23) << "the info text grows with the list";
    for (int id : {1010, 1007, 1002, 1003})
        EXPECT_EQ(cell(big, id).w, cell(natural, id).w) << "control " << id;
    EXPECT_EQ(cell(big, 1010).Right(), cell(big, 1005).Right()) << "save and the number stay aligned";
    EXPECT_EQ(cell(big, 1011).Bottom(), cell(natural, 1011).Bottom() + 23) << "the panel moves down";

    const backends::terminal::DialogLayout small = backends::terminal::FillLayout(main, 80, 21);
    const backends::terminal::DialogLayout compact = backends::terminal::LayoutDialog(main, 80, 21);
    EXPECT_EQ(small.controls, compact.controls);
}

TEST(TerminalLayout, CutsKeepClearOfButtonsAndServeEveryControlTheyCross)
{
    // A list with a button column at its right, a second list beside the
    // first one's lower half, and a button row across the middle of the first.
    const DialogTemplate t = Parse("    CONTROL \"\", 1, \"SysListView32\", 0, 10, 10, 100, 80\n"
                                   "    CONTROL \"\", 2, \"SysListView32\", 0, 120, 50, 60, 40\n"
                                   "    CONTROL \"Go\", 3, \"Button\", 0, 50, 40, 40, 14\n"
                                   "    CONTROL \"Text\", 4, \"Static\", SS_LEFT, 120, 10, 60, 30\n");
    const std::vector<backends::terminal::GrowCut> x = backends::terminal::GrowCuts(t, true, 40, 4);
    ASSERT_EQ(x.size(), 2u);
    EXPECT_TRUE(x[0].at <= 50 || x[0].at >= 90) << "not through the button: " << x[0].at;
    EXPECT_EQ(x[0].extra + x[1].extra, 40);
    EXPECT_EQ(x[0].extra % 4, 0);
    const std::vector<backends::terminal::GrowCut> y = backends::terminal::GrowCuts(t, false, 16, 8);
    ASSERT_EQ(y.size(), 2u) << "list 1 and list 2 share one, the text needs its own";
    for (const backends::terminal::GrowCut& c : y)
        EXPECT_TRUE(c.at <= 40 || c.at >= 54) << "not through the button: " << c.at;
    const DialogTemplate grown = backends::terminal::Grown(t, x, y);
    EXPECT_EQ(grown.cx, t.cx + 40);
    EXPECT_EQ(grown.cy, t.cy + 16);
    EXPECT_EQ(Control(grown, 3).cx, 40);
    EXPECT_EQ(Control(grown, 3).cy, 14);
    EXPECT_EQ(Control(grown, 1).cy, 96);
}

TEST(TerminalLayout, LabelsBorrowFreeCellsAndButtonsGrow)
{
    const std::vector<CellRect> obstacles = {{30, 5, 10, 1}, {0, 6, 80, 1}};
    EXPECT_EQ(backends::terminal::RoomToTheRight({10, 5, 5, 1}, obstacles, 80), 19) << "up to a blank before the neighbour";
    EXPECT_EQ(backends::terminal::RoomToTheRight({10, 4, 5, 1}, obstacles, 80), 70) << "nothing on its row: the dialog's edge";
    EXPECT_EQ(backends::terminal::RoomToTheRight({10, 5, 25, 1}, obstacles, 80), 25) << "never narrower than itself";

    EXPECT_EQ(backends::terminal::Widen({20, 5, 4, 1}, 8, obstacles, 80), (CellRect{18, 5, 8, 1}));
    EXPECT_EQ(backends::terminal::Widen({24, 5, 4, 1}, 10, obstacles, 80), (CellRect{19, 5, 10, 1})) << "the right side is full";
    EXPECT_EQ(backends::terminal::Widen({24, 5, 4, 1}, 3, obstacles, 80), (CellRect{24, 5, 4, 1}));
    EXPECT_EQ(backends::terminal::Widen({1, 5, 4, 1}, 12, obstacles, 80), (CellRect{0, 5, 12, 1}));
}

TEST(TerminalLayout, ScrollsJustEnoughToShowAnItem)
{
    const struct {
        int offset, start, length, view, total, expected;
    } cases[] = {
        {0, 3, 1, 10, 50, 0},    // visible already
        {0, 12, 1, 10, 50, 3},   // below: bottom row
        {20, 12, 1, 10, 50, 12}, // above: top row
        {0, 45, 10, 10, 50, 40}, // clamped to the end
        {0, 5, 20, 10, 50, 5},   // longer than the view: its start
        {7, 0, 1, 10, 5, 0},     // everything fits
        {3, 2, 1, 0, 50, 0},     // no view at all
    };
    for (const auto& c : cases)
        EXPECT_EQ(backends::terminal::ScrollToShow(c.offset, c.start, c.length, c.view, c.total), c.expected)
            << c.offset << " " << c.start << " " << c.length << " " << c.view << " " << c.total;
}

} // namespace
