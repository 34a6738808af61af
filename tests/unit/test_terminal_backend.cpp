// The terminal backend's loop on a fake terminal: after the first picture it
// writes only what changed, nothing at all while nothing changes, and it
// sleeps between timer ticks instead of spinning.
#include "toolkit/terminal/TerminalBackend.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

namespace {

class FakeTerminal final : public tk::ITerminal {
public:
    std::string written;
    int waits = 0;
    std::function<std::string()> typing; // what the user types during a wait

    void Size(int& cols, int& rows) const override
    {
        cols = 120;
        rows = 40;
    }
    void Write(std::string_view bytes) override { written += bytes; }
    Input Wait(int timeoutMs) override
    {
        ++waits;
        Input in;
        if (typing)
            in.bytes = typing();
        if (in.bytes.empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return in;
    }
};

// The main window with a fast timer: the first tick changes nothing, the
// second changes the info text, the third ends the dialog.
class Ticking final : public tk::CDialog {
public:
    explicit Ticking(const FakeTerminal& terminal) : CDialog(102), terminal_(terminal) {}

    std::size_t idleBytes = 0;
    std::size_t changeBytes = 0;
    int ticks = 0;

    bool OnInitDialog() override
    {
        SetTimer(1, 5);
        return true;
    }
    const tk::MessageMap& GetMessageMap() const override
    {
        static const tk::MessageMap map = {
            {tk::MsgKind::Timer, 0, [](tk::CDialog& d, tk::Message&) { static_cast<Ticking&>(d).Tick(); }},
        };
        return map;
    }

private:
    void Tick()
    {
        const std::size_t now = terminal_.written.size();
        switch (++ticks) {
        case 1:
            mark_ = now;
            break;
        case 2:
            idleBytes = now - mark_;
            Window()->SetItemText(1008, "Changed");
            mark_ = now;
            break;
        default:
            changeBytes = now - mark_;
            EndDialog(tk::Answer::Ok);
        }
    }

    const FakeTerminal& terminal_;
    std::size_t mark_ = 0;
};

TEST(TerminalBackend, WritesNothingWhileNothingChangesAndLittleForASmallChange)
{
    FakeTerminal terminal;
    tk::TerminalBackend backend(terminal);
    Ticking dialog(terminal);
    EXPECT_EQ(backend.RunModal(dialog), tk::Answer::Ok);
    EXPECT_GT(terminal.written.size(), 120u * 40u) << "the first picture is drawn whole";
    EXPECT_EQ(dialog.idleBytes, 0u) << "a tick that changes nothing writes nothing";
    EXPECT_GT(dialog.changeBytes, 0u);
    EXPECT_LT(dialog.changeBytes, 200u) << "a changed word costs a few cells, not a screen";
    EXPECT_LE(terminal.waits, dialog.ticks + 1) << "one wait per tick, no busy loop";
}

// The first tick of timer 1 opens the folder browser; timer 2 counts its
// ticks while the browser is open.
class Browsing final : public tk::CDialog {
public:
    Browsing() : CDialog(102) {}

    int ticksWhileOpen = 0;
    std::optional<std::optional<std::string>> picked;

    bool OnInitDialog() override
    {
        SetTimer(1, 5);
        SetTimer(2, 5);
        return true;
    }
    const tk::MessageMap& GetMessageMap() const override
    {
        static const tk::MessageMap map = {
            {tk::MsgKind::Timer, 0, [](tk::CDialog& d, tk::Message& m) { static_cast<Browsing&>(d).Tick(m.id); }},
        };
        return map;
    }

private:
    void Tick(int id)
    {
        if (id == 2) {
            ticksWhileOpen += open_ ? 1 : 0;
        } else if (!picked) {
            open_ = true;
            picked = Window()->BrowseForFolder("Choose the target folder");
            open_ = false;
            EndDialog(tk::Answer::Ok);
        }
    }

    bool open_ = false;
};

TEST(TerminalBackend, TimersTickWhileAPickerIsOpen)
{
    FakeTerminal terminal;
    tk::TerminalBackend backend(terminal);
    Browsing dialog;
    bool typed = false;
    terminal.typing = [&]() -> std::string {
        // Gives up after a while, so that a fault fails the test instead of
        // hanging it.
        if (typed || (dialog.ticksWhileOpen < 3 && terminal.waits < 200))
            return {};
        typed = true;
        return " "; // choose the folder shown
    };
    backend.RunModal(dialog);
    EXPECT_GE(dialog.ticksWhileOpen, 3);
    ASSERT_TRUE(dialog.picked.has_value());
    EXPECT_EQ(*dialog.picked, std::filesystem::current_path().string()) << "the browser starts in the current folder";
}

} // namespace
