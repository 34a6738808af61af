// F1 in the terminal: the help's text in a scrolling view, wrapped to the
// screen with list items continuing under their text; a help text that is
// missing is named in an error box.
#include "backends/terminal/HelpViewLayer.h"
#include "backends/terminal/TerminalBackend.h"

#include "KeyBuilders.h"
#include "unit/TempAppFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <thread>

namespace {

using backends::terminal::KeyCode;

const std::string kHelp = "Keys\r\n====\r\n\r\nThe line at the bottom of the screen shows the keys that work.\r\n"
                          "  - Tab moves to the next control, Shift-Tab to the one before it.\r\n"
                          "  F1\r\n      Shows this help.\r\n";

// Types one queued input per wait (an empty one waits the time out); Escape
// when the queue is empty, so that a fault ends the test instead of hanging
// it.
class TypingTerminal final : public backends::terminal::ITerminal {
public:
    std::deque<std::string> typed;
    std::string written;

    void Size(int& cols, int& rows) const override
    {
        cols = 120;
        rows = 30;
    }
    void Write(std::string_view bytes) override { written += bytes; }
    Input Wait(int timeoutMs) override
    {
        Input in;
        in.bytes = typed.empty() ? "\x1b" : typed.front();
        if (!typed.empty())
            typed.pop_front();
        if (in.bytes.empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return in;
    }
};

// Opens the help while it starts, then ends: the help comes in the
// backend's first picture, which is written whole.
class HelpAtStart final : public toolkit::CDialog {
public:
    explicit HelpAtStart(std::string path) : CDialog(102), path_(std::move(path)) {}
    bool OnInitDialog() override
    {
        toolkit::CurrentBackend().ShowHelp(path_);
        EndDialog(toolkit::Answer::Ok);
        return true;
    }

private:
    std::string path_;
};

} // namespace

TEST(TerminalHelp, WrapsEachLineUnderItsTextAndScrolls)
{
    backends::terminal::HelpViewLayer view("Help", kHelp);
    backends::terminal::CellScreen screen;
    screen.Resize(44, 12);
    view.Draw(screen);
    const std::vector<std::string> expected = {
        "Keys",
        "====",
        "",
        "The line at the bottom of the screen",
        "shows the keys that work.",
        "  - Tab moves to the next control,",
        "    Shift-Tab to the one before it.",
        "  F1",
        "      Shows this help.",
    };
    EXPECT_EQ(view.Shown(), expected);
    EXPECT_NE(screen.RowText(2).find("Keys"), std::string::npos) << screen.RowText(2);

    view.HandleKey(K(KeyCode::End));
    EXPECT_EQ(view.Top(), 9 - 7) << "the last page: 9 lines in 7 rows";
    view.HandleKey(K(KeyCode::PageDown));
    EXPECT_EQ(view.Top(), 2);
    view.HandleKey(K(KeyCode::Up));
    view.HandleKey(K(KeyCode::Home));
    EXPECT_EQ(view.Top(), 0);
    view.HandleKey(K(KeyCode::Down));
    EXPECT_EQ(view.Top(), 1);
    EXPECT_FALSE(view.Done());
    EXPECT_EQ(backends::terminal::FitHelp(view.KeyHelp(), 60), "Arrows/PageUp/PageDown scroll  Esc close");
    view.HandleKey(K(KeyCode::Escape));
    EXPECT_TRUE(view.Done());
    EXPECT_EQ(backends::terminal::HelpTextPath("/opt/tw/help.CHM"), "/opt/tw/help.txt");
}

TEST(TerminalHelp, ShowsTheTextBesideTheHelpFileOrNamesItWhenMissing)
{
    TempAppFolder folder;
    const auto run = [&folder](std::deque<std::string> typed) {
        TypingTerminal terminal;
        terminal.typed = std::move(typed);
        backends::terminal::TerminalBackend backend(terminal);
        const toolkit::ScopedBackend installed(backend);
        HelpAtStart dialog(folder.Path("help.chm"));
        EXPECT_EQ(backend.RunModal(dialog), toolkit::Answer::Ok);
        return terminal.written;
    };
    EXPECT_NE(run({"\r"}).find("\"" + folder.Path("help.txt") + "\""), std::string::npos)
        << "an error box names the text it could not read";

    folder.Write("help.txt", kHelp);
    const std::string shown = run({"\x1b[B", "\x1b[B"});
    EXPECT_NE(shown.find("The line at the bottom of the screen"), std::string::npos) << "the help's text is shown";
}
