#include "backends/win32/Win32Backend.h"

#include "toolkit/Dialog.h"
#include "toolkit/Resources.h"
#include "platform/Exceptions.h"
#include "backends/win32/DialogProc.h"
#include "backends/win32/Texts.h"
#include "toolkit/Texts.h"
#include "backends/win32/Win32Window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

namespace backends::win32 {

namespace {

// The backend whose keys the message filter translates: one at a time, on
// the one user-interface thread.
Win32Backend* keyBackend = nullptr;

// The modal loops of dialogs and boxes hand every message to this filter
// before they dispatch it, which is where a modal dialog can see its keys.
LRESULT CALLBACK KeyFilter(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_DIALOGBOX && keyBackend && keyBackend->TranslateKey(*reinterpret_cast<MSG*>(lParam)))
        return TRUE;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

Win32Backend::Win32Backend()
{
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES;
    ::InitCommonControlsEx(&controls);
    keyHook_ = ::SetWindowsHookExA(WH_MSGFILTER, &KeyFilter, nullptr, ::GetCurrentThreadId());
    keyBackend = this;
}

Win32Backend::~Win32Backend()
{
    if (keyBackend == this)
        keyBackend = nullptr;
    if (keyHook_)
        ::UnhookWindowsHookEx(keyHook_);
}

// Only keys meant for the dialog itself or one of its controls: a message
// box or a file dialog on top has keys of its own.
bool Win32Backend::TranslateKey(MSG& message) const
{
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN)
        return false;
    const HWND dialog = ActiveWindow();
    if (dialog == nullptr || keys_.empty() || keys_.back() == nullptr)
        return false;
    if (message.hwnd != dialog && !::IsChild(dialog, message.hwnd))
        return false;
    return ::TranslateAcceleratorA(dialog, keys_.back(), &message) != 0;
}

toolkit::Answer Win32Backend::RunModal(toolkit::CDialog& dialog)
{
    const int menu = dialog.Template().menuId;
    keys_.push_back(menu != 0 ? ::LoadAcceleratorsA(platform::win32::ProgramInstance(), MAKEINTRESOURCEA(menu))
                              : (keys_.empty() ? nullptr : keys_.back()));
    struct PopKeys {
        std::vector<HACCEL>& keys;
        ~PopKeys() { keys.pop_back(); }
    } popKeys{keys_};
    ModalRun run{*this, dialog, nullptr};
    ::SetLastError(ERROR_SUCCESS);
    const INT_PTR result = ::DialogBoxParamA(platform::win32::ProgramInstance(), MAKEINTRESOURCEA(dialog.TemplateId()),
                                             ActiveWindow(), &DialogProc, reinterpret_cast<LPARAM>(&run));
    if (run.window)
        Closing(*run.window);
    dialog.AttachWindow(nullptr);
    if (result == -1 || !run.window)
        throw platform::CException(platform::Text(text::DialogCannotShow, {std::to_string(dialog.TemplateId()),
                                                                 platform::win32::ErrorText(::GetLastError())}));
    return run.window->EndResult().value_or(toolkit::Answer::Cancel);
}

void Win32Backend::ReportError(const std::string& text)
{
    ShowBox(ActiveWindow(), text, toolkit::AppTitle(), {toolkit::BoxButtons::Ok, toolkit::BoxIcon::Error});
}

void Win32Backend::ShowHelp(const std::string& path)
{
    if (const auto help = toolkit::ReadHelpFile(path); !help) {
        ReportError(help.Error().message);
        return;
    }
    // Without the system's own error box, so that the failure is told once,
    // in the program's words.
    SHELLEXECUTEINFOA open{};
    open.cbSize = sizeof open;
    open.fMask = SEE_MASK_FLAG_NO_UI;
    open.lpVerb = "open";
    open.lpFile = path.c_str();
    open.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExA(&open))
        ReportError(platform::Text(toolkit::text::HelpCannotBeShown,
                                   {path, platform::Text(text::SystemCannotOpen, {platform::win32::ErrorText(::GetLastError())})}));
}

HWND Win32Backend::ActiveWindow() const
{
    return open_.empty() ? nullptr : open_.back()->Handle();
}

HWND Win32Backend::MainWindow() const
{
    return open_.empty() ? nullptr : open_.front()->Handle();
}

HBRUSH Win32Backend::Brush(COLORREF colour)
{
    auto& brush = brushes_[colour];
    if (!brush)
        brush.reset(::CreateSolidBrush(colour));
    return brush.get();
}

void Win32Backend::Opened(Win32Window& window)
{
    open_.push_back(&window);
}

void Win32Backend::Closing(const Win32Window& window)
{
    open_.erase(std::remove(open_.begin(), open_.end(), &window), open_.end());
}

} // namespace backends::win32
