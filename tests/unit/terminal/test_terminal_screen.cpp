// The cell picture and the ANSI output that brings the terminal up to date.
#include "backends/terminal/Screen.h"

#include <gtest/gtest.h>

namespace {

backends::terminal::CellStyle Colours(toolkit::Rgb fg, toolkit::Rgb bg)
{
    backends::terminal::CellStyle s;
    s.fg = fg;
    s.bg = bg;
    return s;
}

TEST(TerminalScreen, WritesOnlyWhatChanged)
{
    backends::terminal::CellScreen screen;
    screen.Resize(10, 3);
    screen.Clear(Colours({0, 0, 0}, {240, 240, 240}));
    const std::string first = screen.Render(false);
    EXPECT_NE(first.find("\x1b[2J"), std::string::npos) << "the first frame is drawn whole";
    EXPECT_NE(first.find("48;2;240;240;240"), std::string::npos);

    screen.Clear(Colours({0, 0, 0}, {240, 240, 240}));
    EXPECT_EQ(screen.Render(false), "") << "nothing changed, nothing written";

    screen.Text(2, 1, "\x80!", Colours({0, 0, 128}, {240, 240, 240}));
    const std::string change = screen.Render(false);
    EXPECT_NE(change.find("\x1b[2;3H"), std::string::npos) << "moves to the changed cell";
    EXPECT_NE(change.find("38;2;0;0;128"), std::string::npos);
    EXPECT_NE(change.find("\xE2\x82\xAC!"), std::string::npos) << "Windows-1252 text goes out as UTF-8";
    EXPECT_EQ(change.find("\x1b[2J"), std::string::npos);

    screen.ShowCursor(4, 2);
    EXPECT_NE(screen.Render(false).find("\x1b[3;5H\x1b[?25h"), std::string::npos) << "a moved cursor alone is news";
}

// 24-bit colour only where COLORTERM says so; otherwise 256 or 8 colours,
// and in 8 no text falls on the colour of its background.
TEST(TerminalScreen, ColoursFollowWhatTheTerminalSays)
{
    struct Case {
        const char* colorterm;
        const char* term;
        backends::terminal::ColourDepth depth;
        const char* sgr; // dark blue on the dialog face
    };
    const Case cases[] = {
        {"truecolor", "xterm-256color", backends::terminal::ColourDepth::Direct, "\x1b[0;38;2;0;0;128;48;2;240;240;240m"},
        {"24bit", nullptr, backends::terminal::ColourDepth::Direct, "\x1b[0;38;2;0;0;128;48;2;240;240;240m"},
        {nullptr, "xterm-256color", backends::terminal::ColourDepth::Palette256, "\x1b[0;38;5;18;48;5;255m"},
        {"yes", "tmux-256color", backends::terminal::ColourDepth::Palette256, "\x1b[0;38;5;18;48;5;255m"},
        {nullptr, "linux", backends::terminal::ColourDepth::Basic8, "\x1b[0;34;47m"},
        {nullptr, nullptr, backends::terminal::ColourDepth::Basic8, "\x1b[0;34;47m"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.colorterm ? c.colorterm : "-") + " " + (c.term ? c.term : "-"));
        const backends::terminal::ColourDepth depth = backends::terminal::ColourDepthOf(c.colorterm, c.term);
        EXPECT_EQ(depth, c.depth);
        backends::terminal::CellScreen screen;
        screen.SetColourDepth(depth);
        screen.Resize(1, 1);
        screen.Put(0, 0, U'x', Colours({0, 0, 128}, {240, 240, 240}));
        EXPECT_NE(screen.Render(false).find(c.sgr), std::string::npos) << screen.Render(true);
    }
    // Grey on the light face, white on light grey: both land on white.
    EXPECT_EQ(backends::terminal::ColourParameters(backends::terminal::ColourDepth::Basic8, {128, 128, 128}, {240, 240, 240}), "30;47");
    EXPECT_EQ(backends::terminal::ColourParameters(backends::terminal::ColourDepth::Basic8, {255, 255, 255}, {204, 204, 204}), "30;47");
    EXPECT_EQ(backends::terminal::ColourParameters(backends::terminal::ColourDepth::Basic8, {64, 64, 64}, {0, 0, 0}), "37;40");
}

TEST(TerminalScreen, ClipsAndShowsControlCharactersAsBlanks)
{
    backends::terminal::CellScreen screen;
    screen.Resize(6, 2);
    screen.Clear({});
    screen.SetClip({1, 0, 3, 2});
    screen.Text(0, 0, "abcdef", {});
    EXPECT_EQ(screen.RowText(0), " bcd  ");
    screen.ResetClip();
    screen.Text(0, 1, "a\tb\x9D", {});
    EXPECT_EQ(screen.RowText(1), "a b   ");
    screen.Label(0, 0, "&Go", {});
    EXPECT_TRUE(screen.At(0, 0).style.underline);
    EXPECT_FALSE(screen.At(1, 0).style.underline);
}

} // namespace

// A text cut short says so in its last cell; blanks at its end are not text,
// and an edit field's view is cut without a mark.
TEST(TerminalScreen, ATextThatDoesNotFitEndsInAnEllipsis)
{
    const struct {
        const char* text;
        int width;
        const char* shown;
    } cases[] = {
        {"abcdef", 6, "abcdef  "}, {"abcdef", 5, "abcd\xE2\x80\xA6   "}, {"abc     ", 4, "abc     "},
        {"abcdef", 1, "\xE2\x80\xA6       "}, {"ab cd", 3, "ab\xE2\x80\xA6     "}, {"abcdef", 0, "        "},
    };
    for (const auto& c : cases) {
        backends::terminal::CellScreen screen;
        screen.Resize(8, 1);
        screen.Clear({});
        screen.Text(0, 0, c.text, {}, c.width);
        EXPECT_EQ(screen.RowText(0), c.shown) << c.text << " in " << c.width;
    }
    backends::terminal::CellScreen screen;
    screen.Resize(8, 1);
    screen.Clear({});
    screen.Clipped(0, 0, "abcdef", {}, 4);
    EXPECT_EQ(screen.RowText(0), "abcd    ");
    // A mnemonic beyond the cut is not underlined on the ellipsis.
    screen.Label(0, 0, "abc&def", {}, 4);
    EXPECT_FALSE(screen.At(3, 0).style.underline);
    screen.Label(0, 0, "a&bcdef", {}, 4);
    EXPECT_TRUE(screen.At(1, 0).style.underline);
}
