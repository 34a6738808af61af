// A dialog on the terminal: what keys do to its controls and which messages
// they send, and what the drawing shows.
#include "toolkit/Resources.h"
#include "backends/terminal/DialogLayer.h"

#include "KeyBuilders.h"
#include "unit/RecordingBackend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace {

using backends::terminal::Key;
using backends::terminal::KeyCode;
using toolkit::MsgKind;

struct Seen {
    MsgKind kind;
    int id;
    bool operator==(const Seen&) const = default;
};

// Records the messages that reach it; OK and Cancel take the default path and
// end the dialog.
class Recorder final : public toolkit::CDialog {
public:
    explicit Recorder(int templateId) : CDialog(templateId) {}
    std::vector<Seen> seen;

    const toolkit::MessageMap& GetMessageMap() const override
    {
        const auto record = [](MsgKind kind) {
            return [kind](toolkit::CDialog& d, toolkit::Message& m) { static_cast<Recorder&>(d).seen.push_back({kind, m.id}); };
        };
        const auto command = [&](int id) { return toolkit::MessageEntry{MsgKind::Command, id, record(MsgKind::Command)}; };
        static const toolkit::MessageMap map = {
            command(1010),
            command(1007),
            command(32772),
            command(32776),
            command(32780),
            command(32781),
            command(32778),
            {MsgKind::SysCommand, 0, record(MsgKind::SysCommand)},
            {MsgKind::Close, 0, record(MsgKind::Close)},
            {MsgKind::HelpInfo, 0, record(MsgKind::HelpInfo)},
            {MsgKind::Timer, 0, record(MsgKind::Timer)},
            {MsgKind::CtlColor, 0,
             [](toolkit::CDialog&, toolkit::Message& m) {
                 if (m.color->controlId == 1009)
                     m.color->textBackground = toolkit::Rgb{255, 255, 128};
                 m.color->brush = toolkit::Rgb{240, 240, 240};
             }},
        };
        return map;
    }
};

struct MainDialog {
    RecordingBackend host;
    Recorder dialog{102};
    backends::terminal::TerminalWindow window{dialog.Template(), host};
    backends::terminal::DialogLayer layer{dialog, window, true};

    MainDialog()
    {
        dialog.AttachWindow(&window);
        for (int i = 0; i < 30; ++i)
            window.ListInsertItem(1000, i, "Function " + std::to_string(i));
        window.ListSetSelectionMark(1000, 0);
        for (const char* c : {"All functions", "System settings", "Folders"})
            window.ComboAddString(1009, c);
        window.ComboSetCurSel(1009, 0);
        window.SystemMenuAppendSeparator();
        window.SystemMenuAppend(16, "About ...");
        layer.EnsureFocus();
    }
    ~MainDialog() { dialog.AttachWindow(nullptr); }

    void Press(const Key& key) { layer.HandleKey(key); }
    std::vector<int> TabOrder()
    {
        std::vector<int> out{window.FocusId()};
        for (int i = 0; i < 9; ++i) {
            Press(K(KeyCode::Tab));
            out.push_back(window.FocusId());
        }
        return out;
    }
};

TEST(TerminalDialog, TabReachesEveryVisibleControlInTemplateOrder)
{
    MainDialog d;
    EXPECT_EQ(d.window.FocusId(), 1000) << "the first tab stop";
    EXPECT_EQ(d.TabOrder(), (std::vector<int>{1000, 1009, 1010, 1007, 1006, 1002, 1003, 1005, 1000, 1009}));
    d.Press(K(KeyCode::Tab, true));
    EXPECT_EQ(d.window.FocusId(), 1000);
    d.Press(K(KeyCode::Tab, true));
    EXPECT_EQ(d.window.FocusId(), 1005) << "Shift-Tab wraps backwards";

    // Hidden controls drop out; the focus leaves a control that is hidden.
    d.window.ShowItem(1007, false);
    d.window.ShowItem(1006, false);
    d.window.SetFocus(1000);
    EXPECT_EQ(d.TabOrder(), (std::vector<int>{1000, 1009, 1010, 1002, 1003, 1005, 1000, 1009, 1010, 1002}));
    d.window.SetFocus(1003);
    d.window.ShowItem(1003, false);
    d.Press(K(KeyCode::End));
    EXPECT_EQ(d.window.FocusId(), 1005);
}

TEST(TerminalDialog, EnterAndEscapeEndTheDialogThroughOkAndCancel)
{
    MainDialog ok;
    ok.Press(K(KeyCode::Enter));
    EXPECT_EQ(ok.window.EndResult(), toolkit::Answer::Ok);

    MainDialog cancel;
    cancel.Press(K(KeyCode::Escape));
    EXPECT_EQ(cancel.window.EndResult(), toolkit::Answer::Cancel);

    MainDialog button;
    button.window.SetFocus(1010);
    button.Press(K(KeyCode::Enter));
    button.Press(Ch(U' '));
    EXPECT_EQ(button.dialog.seen, (std::vector<Seen>{{MsgKind::Command, 1010}, {MsgKind::Command, 1010}}));
    EXPECT_FALSE(button.window.EndResult().has_value());
}

TEST(TerminalDialog, ArrowsMoveTheListSelectionWithTheMark)
{
    MainDialog d;
    const toolkit::ControlState& list = *d.window.Find(1000);
    EXPECT_TRUE(list.selected.empty()) << "the mark alone selects nothing";
    d.Press(K(KeyCode::Down));
    EXPECT_EQ(list.selectionMark, 1);
    EXPECT_EQ(list.selected, (std::set<int>{1}));
    d.Press(K(KeyCode::Up));
    d.Press(K(KeyCode::Up));
    EXPECT_EQ(list.selectionMark, 0);
    d.Press(K(KeyCode::End));
    EXPECT_EQ(list.selectionMark, 29);
    d.Press(K(KeyCode::PageUp));
    EXPECT_EQ(list.selectionMark, 20);
    d.Press(K(KeyCode::Home));
    EXPECT_EQ(list.selected, (std::set<int>{0}));
    d.Press(Ch(U'f'));
    EXPECT_EQ(list.selectionMark, 1) << "a letter jumps to the next item that begins with it";
}

TEST(TerminalDialog, ADropDownListChangesDirectlyOrThroughItsOpenList)
{
    MainDialog d;
    d.window.SetFocus(1009);
    d.Press(K(KeyCode::Down));
    EXPECT_EQ(d.window.ComboGetCurSel(1009), 1) << "closed: arrows change the selection";
    d.Press(K(KeyCode::Enter));
    EXPECT_FALSE(d.window.EndResult().has_value()) << "Enter opens the list";
    d.Press(K(KeyCode::Down));
    EXPECT_EQ(d.window.ComboGetCurSel(1009), 1) << "open: arrows only move the highlight";
    d.Press(K(KeyCode::Enter));
    EXPECT_EQ(d.window.ComboGetCurSel(1009), 2);
    d.Press(K(KeyCode::Down, false, true));
    d.Press(K(KeyCode::Up));
    d.Press(K(KeyCode::Escape));
    EXPECT_EQ(d.window.ComboGetCurSel(1009), 2) << "Escape closes the list and keeps the selection";
    EXPECT_FALSE(d.window.EndResult().has_value());
    d.Press(Ch(U'a'));
    EXPECT_EQ(d.window.ComboGetCurSel(1009), 0);
}

TEST(TerminalDialog, TypingReplacesTheTextOfAnEditableComboBox)
{
    RecordingBackend host;
    Recorder dialog(134);
    backends::terminal::TerminalWindow window(dialog.Template(), host);
    backends::terminal::DialogLayer layer(dialog, window, false);
    dialog.AttachWindow(&window);
    for (const char* name : {"English", "Deutsch", "Fran\xE7" "ais"})
        window.ComboAddString(1020, name);
    window.SetItemText(1020, "System default language");
    layer.EnsureFocus();
    ASSERT_EQ(window.FocusId(), 1020);

    for (char32_t c : std::u32string(U"Fr\u00E4"))
        layer.HandleKey(Ch(c));
    EXPECT_EQ(window.GetItemText(1020), "Fr\xE4");
    EXPECT_EQ(window.ComboGetCurSel(1020), -1);
    layer.HandleKey(K(KeyCode::Backspace));
    layer.HandleKey(K(KeyCode::Down, false, true)); // open the list
    layer.HandleKey(K(KeyCode::Enter));
    EXPECT_EQ(window.GetItemText(1020), "Fran\xE7" "ais") << "the entry that begins with the text";
    EXPECT_FALSE(window.EndResult().has_value());
    layer.HandleKey(K(KeyCode::Up));
    EXPECT_EQ(window.GetItemText(1020), "English") << "the list is sorted";
    layer.HandleKey(Ch(U' '));
    EXPECT_EQ(window.GetItemText(1020), "English") << "Space keeps the chosen entry";
    layer.HandleKey(K(KeyCode::Enter));
    EXPECT_EQ(window.EndResult(), toolkit::Answer::Ok);
    dialog.AttachWindow(nullptr);
}

TEST(TerminalDialog, RadioButtonsAndEditFields)
{
    MainDialog d;
    d.window.SetFocus(1002);
    d.Press(Ch(U' '));
    EXPECT_TRUE(d.window.GetCheck(1002));
    d.Press(K(KeyCode::Right));
    EXPECT_EQ(d.window.FocusId(), 1003);
    EXPECT_TRUE(d.window.GetCheck(1003));
    EXPECT_FALSE(d.window.GetCheck(1002)) << "one button of the group is checked";

    d.window.SetItemText(1005, "400");
    d.Press(K(KeyCode::Tab));
    ASSERT_EQ(d.window.FocusId(), 1005);
    d.Press(Ch(U'5'));
    EXPECT_EQ(d.window.GetItemText(1005), "5") << "the field's text was selected on entry";
    d.Press(Ch(U'0'));
    d.Press(K(KeyCode::Home));
    d.Press(Ch(U'1'));
    EXPECT_EQ(d.window.GetItemText(1005), "150");
}

TEST(TerminalDialog, MenusSendTheirCommands)
{
    MainDialog d;
    d.Press(F(10));
    d.Press(K(KeyCode::Enter));
    d.Press(Ch(U'h', true));
    d.Press(K(KeyCode::End));
    d.Press(K(KeyCode::Enter));
    d.Press(Ch(U'h', true));
    d.Press(Ch(U'h')); // the mnemonic of "Show &help file"
    d.Press(Ch(U' ', true));
    d.Press(K(KeyCode::End));
    d.Press(K(KeyCode::Enter));
    d.Press(Ch(U' ', true));
    d.Press(K(KeyCode::Enter));
    d.Press(F(10));
    d.Press(K(KeyCode::Escape));
    EXPECT_EQ(d.dialog.seen, (std::vector<Seen>{{MsgKind::Command, 32772},
                                               {MsgKind::Command, 32778},
                                               {MsgKind::Command, 32776},
                                               {MsgKind::SysCommand, 16},
                                               {MsgKind::SysCommand, toolkit::SystemCloseCommand}}));
    EXPECT_FALSE(d.window.EndResult().has_value()) << "Escape only closed the menu";

    d.Press(F(1));
    d.Press(Ch(U'q', false, true));
    d.Press(F(4));
    Key altF4 = F(4);
    altF4.alt = true;
    d.Press(altF4);
    EXPECT_EQ(std::vector<Seen>(d.dialog.seen.begin() + 5, d.dialog.seen.end()),
              (std::vector<Seen>{{MsgKind::HelpInfo, 0}, {MsgKind::Close, 0}, {MsgKind::Close, 0}}));
    d.Press(Ch(U'b', true));
    EXPECT_EQ(d.dialog.seen.back(), (Seen{MsgKind::Command, 1007})) << "Alt and a button's mnemonic press it";
}

// The program's accelerators work wherever the focus is; "/" is Ctrl+F where
// it would not be typed.
TEST(TerminalDialog, AcceleratorsSendTheirCommandsAndSlashSearchesOutsideTextFields)
{
    MainDialog d;
    backends::terminal::DialogLayer keyed{d.dialog, d.window, true, toolkit::FindAccelerators(132)};
    keyed.EnsureFocus();
    Key ctrlF = Ch(U'f');
    ctrlF.ctrl = true;
    keyed.HandleKey(ctrlF);
    keyed.HandleKey(F(3));
    keyed.HandleKey(Ch(U'/'));
    EXPECT_EQ(d.window.FocusId(), 1000);
    d.window.SetFocus(1006);
    keyed.HandleKey(Ch(U'/'));
    keyed.HandleKey(F(3));
    EXPECT_EQ(d.dialog.seen, (std::vector<Seen>{{MsgKind::Command, 32780},
                                               {MsgKind::Command, 32781},
                                               {MsgKind::Command, 32780},
                                               {MsgKind::Command, 32781}}));
    EXPECT_EQ(d.window.GetItemText(1006), "/") << "typed into the path field";
    // Without the table the keys are what they always were.
    d.Press(F(3));
    EXPECT_EQ(d.dialog.seen.size(), 4u);
}

// As in a Windows dialog, Alt and a letter press the visible control that it
// underlines before they open the menu bar's entry: in German "&Durchsuchen"
// and "&Datei" share theirs.
TEST(TerminalDialog, AControlsMnemonicComesBeforeTheMenuBars)
{
    MainDialog d;
    d.window.SetItemText(1007, "&Find");
    d.Press(Ch(U'f', true));
    d.window.ShowItem(1007, false);
    d.Press(Ch(U'f', true));
    d.Press(K(KeyCode::Enter));
    EXPECT_EQ(d.dialog.seen, (std::vector<Seen>{{MsgKind::Command, 1007}, {MsgKind::Command, 32772}}));
}

TEST(TerminalDialog, TimersFireWhenDueAndNotWhileTheirHandlerRuns)
{
    MainDialog d;
    d.window.SetTimer(1, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    const auto now = std::chrono::steady_clock::now();
    EXPECT_EQ(d.window.TakeDueTimer(now), 1);
    EXPECT_FALSE(d.window.TakeDueTimer(now + std::chrono::seconds(1)).has_value()) << "still running";
    d.window.TimerDone(1);
    d.layer.FireTimers(now + std::chrono::seconds(1));
    EXPECT_EQ(d.dialog.seen, (std::vector<Seen>{{MsgKind::Timer, 1}}));
    d.window.EndDialog(toolkit::Answer::Ok);
    d.layer.FireTimers(now + std::chrono::seconds(2));
    EXPECT_EQ(d.dialog.seen.size(), 1u) << "an ended dialog gets no ticks";
}

TEST(TerminalDialog, DrawsControlsWithTheColoursTheDialogGives)
{
    MainDialog d;
    d.window.SetItemText(1011, "Menu delay");
    d.window.SetItemText(1002, "Activated");
    d.window.SetItemText(1003, "De-activated");
    d.window.SetCheck(1003, true);
    d.window.SetItemText(1010, "&Save new configuration");
    d.window.ShowItem(1007, false);
    backends::terminal::CellScreen screen;
    screen.Resize(120, 40);
    d.layer.Draw(screen);
    std::string all;
    for (int y = 0; y < screen.Rows(); ++y)
        all += screen.RowText(y) + "\n";
    EXPECT_NE(all.find("Orvelle Tunewright 3"), std::string::npos);
    EXPECT_NE(all.find(" -  File  Help"), std::string::npos);
    EXPECT_NE(all.find("┌ Menu delay ─"), std::string::npos);
    EXPECT_NE(all.find("( ) Activated"), std::string::npos);
    EXPECT_NE(all.find("(*) De-activated"), std::string::npos);
    EXPECT_NE(all.find("[ Save new configuration ]"), std::string::npos);
    EXPECT_NE(all.find("Function 0"), std::string::npos);
    EXPECT_EQ(all.find("Browse"), std::string::npos) << "hidden controls are not drawn";
    EXPECT_EQ(all.find("Cancel"), std::string::npos);

    const auto at = all.find("All functions");
    ASSERT_NE(at, std::string::npos);
    const int row = static_cast<int>(std::count(all.begin(), all.begin() + static_cast<long>(at), '\n'));
    const std::string line = screen.RowText(row);
    const std::size_t byte = line.find("All functions");
    // Cells before it, not bytes: the frame characters take three bytes.
    const int col = static_cast<int>(std::count_if(line.begin(), line.begin() + static_cast<long>(byte),
                                                   [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    ASSERT_EQ(screen.At(col, row).ch, U'A');
    EXPECT_EQ(screen.At(col, row).style.bg, (toolkit::Rgb{255, 255, 128})) << "the combo box's text background";
}

// A list of several columns shows their titles above them, each text in its
// column, and one that does not fit its column ends in "…" before the next.
TEST(TerminalDialog, AListOfSeveralColumnsDrawsEachInItsPlace)
{
    RecordingBackend host;
    Recorder dialog{151};
    backends::terminal::TerminalWindow window{dialog.Template(), host};
    backends::terminal::DialogLayer layer{dialog, window, false};
    dialog.AttachWindow(&window);
    window.ListInsertColumn(1040, 0, "When", 100);
    window.ListInsertColumn(1040, 1, "Function", 100);
    window.ListInsertColumn(1040, 2, "Now", 200);
    window.ListInsertItem(1040, 0, "09:05");
    window.ListSetItemText(1040, 0, 1, "A function whose name is far longer than its column");
    window.ListSetItemText(1040, 0, 2, "\"400\"");
    layer.EnsureFocus();
    backends::terminal::CellScreen screen;
    screen.Resize(80, 24);
    layer.Draw(screen);
    // In cells, not bytes: the frame characters take three bytes.
    const auto column = [&](const std::string& line, const std::string& text) {
        const std::size_t byte = line.find(text);
        if (byte == std::string::npos)
            return -1;
        return static_cast<int>(std::count_if(line.begin(), line.begin() + static_cast<long>(byte), [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        }));
    };
    for (int y = 0; y < screen.Rows(); ++y) {
        const std::string header = screen.RowText(y);
        if (column(header, "When") < 0)
            continue;
        const std::string row = screen.RowText(y + 1);
        EXPECT_EQ(column(row, "09:05"), column(header, "When")) << row;
        EXPECT_EQ(column(row, "A function"), column(header, "Function")) << row;
        EXPECT_EQ(column(row, "\"400\""), column(header, "Now")) << row;
        EXPECT_EQ(column(row, "…"), column(header, "Now") - 2) << row;
        return;
    }
    ADD_FAILURE() << "no header";
}

// The history of changes grows with the terminal as the main window does:
// wider on a wide terminal, where its status line shows a long folder whole;
// on a small one the count, which comes first, is still shown.
TEST(TerminalDialog, ABoxWithAListGrowsWithTheTerminal)
{
    RecordingBackend host;
    Recorder dialog{151};
    backends::terminal::TerminalWindow window{dialog.Template(), host};
    backends::terminal::DialogLayer layer{dialog, window, false};
    dialog.AttachWindow(&window);
    window.SetItemText(1041, "3 backups in \"/home/ann/tunewright/backup\"");
    layer.EnsureFocus();
    const auto draw = [&](int cols, int rows) {
        backends::terminal::CellScreen screen;
        screen.Resize(cols, rows);
        layer.Draw(screen);
        int width = 0;
        std::string all;
        for (int y = 0; y < rows; ++y) {
            all += screen.RowText(y) + "\n";
            int cells = 0;
            for (int x = 0; x < cols; ++x)
                cells += screen.At(x, y).ch == U'\u2500' ? 1 : 0;
            width = std::max(width, cells);
        }
        return std::make_pair(width, all);
    };
    const auto [small, smallText] = draw(80, 24);
    const auto [large, largeText] = draw(200, 60);
    EXPECT_GT(large, small + 80) << largeText;
    EXPECT_NE(smallText.find("3 backups in"), std::string::npos) << smallText;
    EXPECT_NE(largeText.find("\"/home/ann/tunewright/backup\""), std::string::npos) << largeText;
}

} // namespace
