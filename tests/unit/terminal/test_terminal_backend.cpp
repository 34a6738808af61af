// The terminal backend's loop on a fake terminal: after the first picture it
// writes only what changed, nothing while nothing changes, sleeps between
// ticks instead of spinning, and keeps the timers going while a picker waits.
#include "backends/terminal/TerminalBackend.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

class FakeTerminal final : public backends::terminal::ITerminal {
public:
    std::string written;
    std::string typed; // delivered at the next wait
    int waits = 0;

    void Size(int& cols, int& rows) const override
    {
        cols = 120;
        rows = 40;
    }
    void Write(std::string_view bytes) override { written += bytes; }
    Input Wait(int timeoutMs) override
    {
        // Escape after a while, so that a fault fails the test instead of
        // hanging it.
        if (++waits == 200)
            typed = "\x1b";
        Input in;
        in.bytes = std::exchange(typed, {});
        if (in.bytes.empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return in;
    }
};

// The main window with two fast timers. Timer 1: the first tick changes
// nothing, the second changes the info text, the third opens the folder
// browser and ends the dialog when it closes. Timer 2 counts its ticks while
// the browser is open and then chooses the folder shown.
class Scripted final : public toolkit::CDialog {
public:
    explicit Scripted(FakeTerminal& terminal) : CDialog(102), terminal_(terminal) {}

    std::size_t idleBytes = 0;
    std::size_t changeBytes = 0;
    int ticks = 0;
    int ticksWhileOpen = 0;
    std::optional<std::string> picked;

    bool OnInitDialog() override
    {
        SetTimer(1, 5);
        SetTimer(2, 5);
        return true;
    }
    const toolkit::MessageMap& GetMessageMap() const override
    {
        static const toolkit::MessageMap map = {
            {toolkit::MsgKind::Timer, 0, [](toolkit::CDialog& d, toolkit::Message& m) { static_cast<Scripted&>(d).Tick(m.id); }},
        };
        return map;
    }

private:
    void Tick(int id)
    {
        if (id == 2) {
            if (browsing_ && ++ticksWhileOpen == 3)
                terminal_.typed = " ";
            return;
        }
        // On a slow machine the first tick can come before the first
        // picture, which is no change to measure.
        if (terminal_.written.empty())
            return;
        const std::size_t now = terminal_.written.size();
        switch (++ticks) {
        case 1:
            break;
        case 2:
            idleBytes = now - mark_;
            Window()->SetItemText(1008, "Changed");
            break;
        default:
            changeBytes = now - mark_;
            browsing_ = true;
            picked = Window()->BrowseForFolder("Choose the target folder", "");
            browsing_ = false;
            EndDialog(toolkit::Answer::Ok);
        }
        mark_ = terminal_.written.size();
    }

    FakeTerminal& terminal_;
    std::size_t mark_ = 0;
    bool browsing_ = false;
};

TEST(TerminalBackend, WritesOnlyChangesSleepsBetweenTicksAndTicksUnderAPicker)
{
    FakeTerminal terminal;
    backends::terminal::TerminalBackend backend(terminal);
    Scripted dialog(terminal);
    EXPECT_EQ(backend.RunModal(dialog), toolkit::Answer::Ok);
    EXPECT_EQ(dialog.idleBytes, 0u) << "a tick that changes nothing writes nothing";
    EXPECT_GT(dialog.changeBytes, 0u);
    EXPECT_LT(dialog.changeBytes, 200u) << "a changed word costs a few cells, not a screen";
    EXPECT_LT(terminal.waits, 20) << "about one wait per tick, no busy loop";
    EXPECT_EQ(dialog.ticksWhileOpen, 3);
    EXPECT_EQ(dialog.picked, std::filesystem::current_path().string()) << "the browser starts in the current folder";
}

} // namespace
