#include "backends/win32/DialogProc.h"

#include "toolkit/Dialog.h"
#include "backends/win32/Texts.h"
#include "toolkit/Resources.h"
#include "backends/win32/Win32Backend.h"
#include "backends/win32/Win32Window.h"

#include <algorithm>
#include <exception>

namespace backends::win32 {

namespace {

// TRUE for a message the program handled; FALSE hands it to the system's
// default processing.
INT_PTR Handled(bool handled)
{
    return handled ? TRUE : FALSE;
}

// Over its owner, or on the screen when it has none or the owner is not
// shown, and never beyond the screen's edges.
void Centre(HWND window)
{
    RECT area{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT over = area;
    const HWND owner = ::GetWindow(window, GW_OWNER);
    if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &over);
    RECT own{};
    ::GetWindowRect(window, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    const int x = std::max<LONG>(area.left, std::min<LONG>((over.left + over.right - width) / 2, area.right - width));
    const int y = std::max<LONG>(area.top, std::min<LONG>((over.top + over.bottom - height) / 2, area.bottom - height));
    ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR Initialise(HWND handle, ModalRun& run)
{
    ::SetWindowLongPtrA(handle, DWLP_USER, reinterpret_cast<LONG_PTR>(&run));
    run.window = std::make_unique<Win32Window>(handle, run.dialog.TemplateId(), run.backend);
    run.window->FitPictures(run.dialog.Template());
    run.backend.Opened(*run.window);
    run.dialog.AttachWindow(run.window.get());
    RECT before{};
    ::GetWindowRect(handle, &before);
    const std::optional<bool> focus = run.dialog.InitDialog();
    // A dialog that cannot initialise has nothing to show: it ends.
    if (!focus)
        run.window->EndDialog(toolkit::Answer::Cancel);
    // As in the dialog framework the program was written for, a dialog that
    // its initialisation neither showed nor moved opens centred, unless its
    // template places it over its owner.
    RECT after{};
    ::GetWindowRect(handle, &after);
    const toolkit::DialogTemplate& tmpl = run.dialog.Template();
    const bool placed = tmpl.Placed();
    if (!placed && !::IsWindowVisible(handle) && after.left == before.left && after.top == before.top)
        Centre(handle);
    else if (placed)
        ::SendMessageA(handle, DM_REPOSITION, 0, 0); // kept on the screen

    return Handled(focus.value_or(false));
}

// A menu, an accelerator or a button click is a command; every other
// notification of a control (an edit's change, a combo box's selection) is
// not, as in the dialog framework the program was written for.
INT_PTR OnCommand(toolkit::CDialog& dialog, WPARAM wParam, LPARAM lParam)
{
    if (lParam != 0 && HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    toolkit::Message command{toolkit::MsgKind::Command, LOWORD(wParam)};
    return Handled(dialog.Route(command));
}

INT_PTR OnCtlColor(ModalRun& run, HWND dialogWindow, WPARAM wParam, LPARAM lParam)
{
    const auto control = reinterpret_cast<HWND>(lParam);
    toolkit::CtlColorRequest request;
    request.controlId = control == dialogWindow ? 0 : ::GetDlgCtrlID(control);
    toolkit::Message message{toolkit::MsgKind::CtlColor};
    message.color = &request;
    if (!run.dialog.Route(message) || !request.brush)
        return FALSE;
    const auto dc = reinterpret_cast<HDC>(wParam);
    const auto colour = [](const toolkit::Rgb& c) { return RGB(c.r, c.g, c.b); };
    if (request.textColor)
        ::SetTextColor(dc, colour(*request.textColor));
    if (request.transparentBackground)
        ::SetBkMode(dc, TRANSPARENT);
    if (request.textBackground)
        ::SetBkColor(dc, colour(*request.textBackground));
    return reinterpret_cast<INT_PTR>(run.backend.Brush(colour(*request.brush)));
}

INT_PTR OnPaint(ModalRun& run)
{
    run.window->StartPaintRequest();
    toolkit::Message paint{toolkit::MsgKind::Paint};
    // A handler that painted nothing leaves the painting to the system.
    return Handled(run.dialog.Route(paint) && run.window->Painted());
}

INT_PTR OnQueryDragIcon(toolkit::CDialog& dialog)
{
    toolkit::Message query{toolkit::MsgKind::QueryDragIcon};
    if (!dialog.Route(query))
        return FALSE;
    return reinterpret_cast<INT_PTR>(ProgramIcon(static_cast<int>(query.result)));
}

INT_PTR Route(ModalRun& run, HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    toolkit::CDialog& dialog = run.dialog;
    switch (message) {
    case WM_COMMAND:
        return OnCommand(dialog, wParam, lParam);
    case WM_SYSCOMMAND: {
        toolkit::Message command{toolkit::MsgKind::SysCommand, static_cast<int>(wParam)};
        command.param = static_cast<long>(lParam);
        return Handled(dialog.Route(command));
    }
    case WM_TIMER: {
        toolkit::Message tick{toolkit::MsgKind::Timer, static_cast<int>(wParam)};
        return Handled(dialog.Route(tick));
    }
    case WM_CLOSE: {
        toolkit::Message close{toolkit::MsgKind::Close};
        return Handled(dialog.Route(close));
    }
    case WM_HELP: {
        toolkit::Message help{toolkit::MsgKind::HelpInfo};
        return Handled(dialog.Route(help));
    }
    case WM_ACTIVATE: {
        if (LOWORD(wParam) != WA_INACTIVE) {
            toolkit::Message activate{toolkit::MsgKind::Activate};
            dialog.Route(activate);
        }
        // The system's own processing gives the focus back to its control.
        return FALSE;
    }
    case WM_DPICHANGED:
        run.window->ChangeDpi(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam), dialog.Template());
        return TRUE;
    case WM_PAINT:
        return OnPaint(run);
    case WM_QUERYDRAGICON:
        return OnQueryDragIcon(dialog);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return OnCtlColor(run, handle, wParam, lParam);
    default:
        return FALSE;
    }
}

// The last resort: the error box itself must not throw through the system.
void ReportEscaped(const char* text) noexcept
{
    try {
        toolkit::ReportError(text);
    } catch (...) {
        ::MessageBoxA(nullptr, text, nullptr, MB_OK | MB_ICONERROR);
    }
}

// A fault without words of its own, in the words of the loaded language
// when they can be had.
void ReportUnexpected() noexcept
{
    try {
        ReportEscaped(platform::Text(text::UnexpectedError).c_str());
    } catch (...) {
        ReportEscaped(text::UnexpectedError.english.data());
    }
}

} // namespace

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        if (message == WM_INITDIALOG)
            return Initialise(window, *reinterpret_cast<ModalRun*>(lParam));
        auto* run = reinterpret_cast<ModalRun*>(::GetWindowLongPtrA(window, DWLP_USER));
        if (run == nullptr || !run->window)
            return FALSE;
        return Route(*run, window, message, wParam, lParam);
    } catch (const std::exception& e) {
        ReportEscaped(e.what());
    } catch (...) {
        ReportUnexpected();
    }
    return FALSE;
}

} // namespace backends::win32
