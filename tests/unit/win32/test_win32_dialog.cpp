// The win32 backend on real dialogs made from the compiled templates: the
// window calls reach the controls, and the dialog procedure maps the
// system's messages onto the message map.
#include "unit/RecordingBackend.h"

#include "toolkit/Dialog.h"
#include "platform/Exceptions.h"
#include "backends/win32/Win32Backend.h"
#include "backends/win32/Win32Window.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdlib>
#include <functional>

using namespace platform;
using namespace toolkit;
using namespace backends::win32;

namespace {

// Dialog 102 that runs the test's steps while it initialises, then answers
// `focusToSystem`; a timer tick ends it.
class Probe final : public CDialog {
public:
    explicit Probe(int templateId = 102) : CDialog(templateId) {}
    const MessageMap& GetMessageMap() const override
    {
        static const MessageMap map = {
            OnSysCommandMessage(&Probe::OnSysCommand),
            OnCloseMessage(&Probe::OnClose),
            OnTimerMessage(&Probe::OnTick),
            OnCommand(1010, &Probe::OnSave),
            OnCommand(1005, &Probe::OnNumber),
            OnCommand(1007, &Probe::OnThrow),
            OnCtlColorMessage(&Probe::OnCtlColor),
        };
        return map;
    }
    bool OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (steps)
            steps(*this, static_cast<Win32Window&>(*Window()).Handle());
        if (tickToEnd)
            SetTimer(1, 10);
        return focusToSystem;
    }
    void OnSysCommand(int id, long param) { CDialog::OnSysCommand(id, param); }
    void OnClose()
    {
        ++closes;
        CDialog::OnClose();
    }
    void OnTick(int)
    {
        focusAtTick = ::GetDlgCtrlID(::GetFocus());
        ::GetWindowRect(static_cast<Win32Window&>(*Window()).Handle(), &placeAtTick);
        EndDialog(Answer::Ok);
    }
    void OnSave() { ++saves; }
    void OnNumber() { ++numberCommands; }
    void OnThrow() { throw 42; }
    void OnCtlColor(CtlColorRequest& request)
    {
        request.textColor = Rgb{0, 0, 128};
        request.transparentBackground = request.controlId == 1001;
        request.brush = Rgb{240, 240, 240};
    }

    std::function<void(Probe&, HWND)> steps;
    bool tickToEnd = false;
    bool focusToSystem = true;
    int closes = 0, saves = 0, numberCommands = 0, focusAtTick = 0;
    RECT placeAtTick{};
};

} // namespace

TEST(Win32Dialog, WindowCallsReachTheRealControls)
{
    Win32Backend backend;
    ScopedBackend installed(backend);
    Probe dialog;
    dialog.steps = [](Probe& d, HWND) {
        IDialogWindow& w = *d.Window();
        w.SetItemText(1005, "caf\xE9");
        EXPECT_EQ(w.GetItemText(1005), "caf\xE9");
        EXPECT_FALSE(w.IsItemVisible(IDOK));
        w.ShowItem(1005, false);
        EXPECT_FALSE(w.IsItemVisible(1005));
        w.SetCheck(1003, true);
        EXPECT_TRUE(w.GetCheck(1003));
        EXPECT_THROW(w.GetItemText(4242), CException);

        w.ListInsertColumn(1000, 0, "Function", 270);
        w.ListSetExtendedStyle(1000, ListExStyle::FullRowSelect);
        const std::string longName(300, 'x');
        EXPECT_EQ(w.ListInsertItem(1000, 0, "b"), 0);
        EXPECT_EQ(w.ListInsertItem(1000, 0, longName), 0);
        EXPECT_EQ(w.ListInsertItem(1000, 9, "c"), 2);
        EXPECT_EQ(w.ListItemCount(1000), 3);
        EXPECT_EQ(w.ListItemText(1000, 0, 0), longName);
        EXPECT_EQ(w.ListItemText(1000, 3, 0), "");
        w.ListInsertColumn(1000, 1, "Now", 80);
        w.ListSetItemText(1000, 2, 1, "sub");
        EXPECT_EQ(w.ListItemText(1000, 2, 1), "sub");
        EXPECT_EQ(w.ListItemText(1000, 2, 0), "c");
        w.ListSetSelectionMark(1000, 2);
        EXPECT_EQ(w.ListGetSelectionMark(1000), 2);
        // Selecting an item makes it the one selected item and the mark.
        const HWND list = ::GetDlgItem(static_cast<Win32Window&>(w).Handle(), 1000);
        w.ListSelectItem(1000, 0);
        w.ListSelectItem(1000, 1);
        EXPECT_EQ(w.ListGetSelectionMark(1000), 1);
        EXPECT_EQ(::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);
        EXPECT_EQ(::SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
        // A text beyond the code page lands as it is; read narrow, it has '?'
        // where a look-alike would hide what the list shows.
        w.ListSetItemWideText(1000, 2, 1, u"\u0141\u00F3d\u017A \u03A9mega");
        wchar_t wide[64] = L"";
        LVITEMW cell{};
        cell.iSubItem = 1;
        cell.pszText = wide;
        cell.cchTextMax = 64;
        ::SendMessageW(list, LVM_GETITEMTEXTW, 2, reinterpret_cast<LPARAM>(&cell));
        EXPECT_STREQ(wide, L"\u0141\u00F3d\u017A \u03A9mega");
        EXPECT_EQ(w.ListItemText(1000, 2, 1), "?\xF3" "d? ?mega");
        w.ListDeleteAllItems(1000);
        EXPECT_EQ(w.ListItemCount(1000), 0);

        for (const char* entry : {"Alpha  ", "beta  ", "Beta  "})
            w.ComboAddString(1009, entry);
        EXPECT_EQ(w.ComboSelectString(1009, "BETA"), 1);
        EXPECT_EQ(w.GetItemText(1009), "beta  ");
        EXPECT_EQ(w.ComboSelectString(1009, "Gamma"), -1);
        EXPECT_EQ(w.ComboGetCurSel(1009), 1);
        EXPECT_EQ(w.ComboItemText(1009, 2), "Beta  ");
        EXPECT_EQ(w.ComboCount(1009), 3);

        w.MenuSetItemText(0, -1, "Datei");
        w.MenuSetItemText(0, 6, "  Beenden");
        w.MenuSetItemBitmap(0, 6, 143);
        const HMENU bar = ::GetMenu(static_cast<Win32Window&>(w).Handle());
        char text[64] = "";
        ::GetMenuStringA(bar, 0, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, "Datei");
        ::GetMenuStringA(::GetSubMenu(bar, 0), 6, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, "  Beenden");
        EXPECT_EQ(::GetMenuItemID(::GetSubMenu(bar, 0), 6), 32771u);
        w.SetCaption("Suchen");
        EXPECT_EQ(w.Caption(), "Suchen");
        ASSERT_TRUE(w.HasSystemMenu());
        w.SystemMenuAppend(16, "About ...");
        const HMENU system = ::GetSystemMenu(static_cast<Win32Window&>(w).Handle(), FALSE);
        EXPECT_EQ(::GetMenuItemID(system, ::GetMenuItemCount(system) - 1), 16u);
        d.EndDialog(Answer::Cancel);
    };
    EXPECT_EQ(dialog.DoModal(), Answer::Cancel);
    EXPECT_EQ(dialog.Window(), nullptr);
}

TEST(Win32Dialog, TheDialogProcedureMapsMessagesOntoTheMessageMap)
{
    Win32Backend backend;
    ScopedBackend installed(backend);
    Probe dialog;
    dialog.steps = [](Probe& d, HWND h) {
        const HWND save = ::GetDlgItem(h, 1010);
        ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(1010, BN_CLICKED), reinterpret_cast<LPARAM>(save));
        // A control's notification is not a command.
        const HWND number = ::GetDlgItem(h, 1005);
        ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(1005, EN_CHANGE), reinterpret_cast<LPARAM>(number));
        EXPECT_EQ(d.saves, 1);
        EXPECT_EQ(d.numberCommands, 0);

        const HDC dc = ::GetDC(h);
        const auto brush = ::SendMessageA(h, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                          reinterpret_cast<LPARAM>(::GetDlgItem(h, 1001)));
        EXPECT_NE(brush, 0);
        EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 128));
        EXPECT_EQ(::GetBkMode(dc), TRANSPARENT);
        ::ReleaseDC(h, dc);

        // Nothing unwinds through the system: what escapes is reported.
        RecordingBackend recording;
        {
            ScopedBackend reporting(recording);
            ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(1007, BN_CLICKED), 0);
        }
        EXPECT_EQ(recording.errors.size(), 1u);

        // The system's Close comes back as one close request; the last
        // result given is the dialog's.
        ::SendMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(d.closes, 1);
        d.EndDialog(Answer::Yes);
    };
    EXPECT_EQ(dialog.DoModal(), Answer::Yes);
    EXPECT_EQ(dialog.closes, 1);
}

TEST(Win32Dialog, FocusAndOwnersAreAsTheDialogAsks)
{
    Win32Backend backend;
    ScopedBackend installed(backend);
    for (const bool toSystem : {true, false}) {
        SCOPED_TRACE(toSystem);
        Probe dialog;
        dialog.tickToEnd = true;
        dialog.focusToSystem = toSystem;
        HWND owner = nullptr;
        dialog.steps = [&owner](Probe& d, HWND h) {
            d.Window()->SetFocus(1005);
            // A dialog opened from a dialog is owned by it.
            Probe about(100);
            about.steps = [&owner](Probe& inner, HWND ih) {
                owner = ::GetWindow(ih, GW_OWNER);
                inner.EndDialog(Answer::Ok);
            };
            EXPECT_EQ(about.DoModal(), Answer::Ok);
            EXPECT_EQ(owner, h);
        };
        EXPECT_EQ(dialog.DoModal(), Answer::Ok);
        // TRUE: the system gives the focus to the first tab stop, the list.
        EXPECT_EQ(dialog.focusAtTick, toSystem ? 1000 : 1005);
        // The main window opens centred on the screen.
        RECT screen{};
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
        const RECT& at = dialog.placeAtTick;
        EXPECT_LE(std::abs((at.left + at.right) - (screen.left + screen.right)), 1);
        EXPECT_LE(std::abs((at.top + at.bottom) - (screen.top + screen.bottom)), 1);
    }
}

// What the user typed is read wide: a character that the code page lacks
// reads as '?' and is named, never as a look-alike; the program's own
// exchange of that reading back into the control keeps what it shows.
TEST(Win32Dialog, TextsBeyondTheCodePageReadWithoutLookAlikes)
{
    Win32Backend backend;
    ScopedBackend installed(backend);
    Probe dialog;
    dialog.steps = [](Probe& d, HWND h) {
        IDialogWindow& w = *d.Window();
        const HWND edit = ::GetDlgItem(h, 1006);
        const auto shown = [edit] {
            wchar_t text[64] = L"";
            ::GetWindowTextW(edit, text, 64);
            return std::wstring(text);
        };
        ::SetWindowTextW(edit, L"\u0141ukasz \u03A9mega \u00E9");
        EXPECT_EQ(w.GetItemText(1006), "?ukasz ?mega \xE9");
        EXPECT_EQ(w.ItemForeignCharacters(1006), U"\u0141\u03A9");
        w.SetItemText(1006, "?ukasz ?mega \xE9");
        EXPECT_EQ(shown(), L"\u0141ukasz \u03A9mega \u00E9");

        w.SetItemWideText(1006, u"\u0141\u00F3d\u017A");
        EXPECT_EQ(shown(), L"\u0141\u00F3d\u017A");
        w.SetItemText(1006, "Lodz");
        EXPECT_EQ(shown(), L"Lodz");
        EXPECT_TRUE(w.ItemForeignCharacters(1006).empty());
        d.EndDialog(Answer::Cancel);
    };
    EXPECT_EQ(dialog.DoModal(), Answer::Cancel);
}
