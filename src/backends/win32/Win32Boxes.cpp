// The modal boxes of a dialog: message boxes, the file-open dialog and the
// folder browser.
#include "backends/win32/Win32Backend.h"
#include "backends/win32/Win32Window.h"
#include "platform/SystemText.h"
#include "toolkit/Dialog.h"
#include "toolkit/Texts.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>

namespace backends::win32 {

namespace {

UINT BoxFlags(toolkit::BoxStyle style)
{
    UINT flags = style.buttons == toolkit::BoxButtons::YesNo ? MB_YESNO : MB_OK;
    if (style.icon == toolkit::BoxIcon::Question)
        flags |= MB_ICONQUESTION;
    else if (style.icon == toolkit::BoxIcon::Error)
        flags |= MB_ICONERROR;
    if (style.safeNo)
        flags |= MB_DEFBUTTON2;
    return flags;
}

toolkit::Answer AnswerOf(int button)
{
    switch (button) {
    case IDOK: return toolkit::Answer::Ok;
    case IDYES: return toolkit::Answer::Yes;
    case IDNO: return toolkit::Answer::No;
    default: return toolkit::Answer::Cancel;
    }
}

// COM for the folder browser, for as long as it is open.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope()
    {
        if (initialised_)
            ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

int CALLBACK StartIn(HWND browser, UINT message, LPARAM, LPARAM folder)
{
    if (message == BFFM_INITIALIZED)
        ::SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, folder);
    return 0;
}

struct IdListFree {
    void operator()(ITEMIDLIST* list) const { ::CoTaskMemFree(list); }
};

// A Yes/No message box ignores Escape, as it has no Cancel button. A
// question whose safe answer is No takes Escape as No: the box is
// subclassed as it first becomes active, and its Cancel command ends it
// with No.
LRESULT CALLBACK EscapeAnswersNo(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(box, IDNO);
        return 0;
    }
    if (message == WM_NCDESTROY)
        ::RemoveWindowSubclass(box, EscapeAnswersNo, 0);
    return ::DefSubclassProc(box, message, wParam, lParam);
}

thread_local HHOOK boxHook = nullptr;

LRESULT CALLBACK WatchBoxActivation(int code, WPARAM wParam, LPARAM lParam)
{
    const HHOOK hook = boxHook;
    if (code == HCBT_ACTIVATE && hook) {
        boxHook = nullptr;
        ::UnhookWindowsHookEx(hook);
        ::SetWindowSubclass(reinterpret_cast<HWND>(wParam), EscapeAnswersNo, 0, 0);
        return 0;
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
}

} // namespace

toolkit::Answer ShowBox(HWND owner, std::string_view text, std::string_view caption, toolkit::BoxStyle style)
{
    if (style.safeNo && style.buttons == toolkit::BoxButtons::YesNo && !boxHook)
        boxHook = ::SetWindowsHookExW(WH_CBT, WatchBoxActivation, nullptr, ::GetCurrentThreadId());
    const int button = ::MessageBoxA(owner, std::string(text).c_str(), std::string(caption).c_str(), BoxFlags(style));
    if (boxHook) {
        ::UnhookWindowsHookEx(boxHook);
        boxHook = nullptr;
    }
    return AnswerOf(button);
}

toolkit::Answer Win32Window::ShowMessageBox(std::string_view text, std::string_view caption, toolkit::BoxStyle style)
{
    return ShowBox(window_, text, caption, style);
}

std::optional<std::string> Win32Window::TakePath(std::u16string_view path)
{
    const platform::CodePageText narrow = platform::FromUtf16(path);
    if (narrow.foreign.empty())
        return narrow.text;
    ShowBox(window_, platform::Text(toolkit::text::ForeignPathNotTaken, {narrow.text, platform::NameCharacters(narrow.foreign)}), toolkit::AppTitle(),
            {toolkit::BoxButtons::Ok, toolkit::BoxIcon::Error});
    return std::nullopt;
}

// The pickers work wide, so that a path with a character the code page lacks
// is refused by name instead of turning into a look-alike, a path that does
// not exist.
//
// The toolkit's filter "Text (*.x)|*.x" becomes the system's NUL-separated
// list, which ends with an empty entry.
std::optional<std::string> Win32Window::FileOpenDialog(const toolkit::FileDialogRequest& request)
{
    std::wstring filter = platform::win32::Wide(request.filter);
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    filter.append(2, L'\0');
    const std::wstring folder = platform::win32::Wide(request.initialFolder);
    std::wstring file(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    if (!::GetOpenFileNameW(&dialog))
        return std::nullopt;
    file.resize(file.find(L'\0'));
    return TakePath(std::u16string(file.begin(), file.end()));
}

// Modal to the main window, so that no second Browse can start while it is
// open. It starts at the given folder when that exists, else at the desktop.
// A pick without a file-system path (the Control Panel, say) is no pick.
std::optional<std::string> Win32Window::BrowseForFolder(std::string_view title, std::string_view initialFolder)
{
    const ComScope com;
    const std::wstring instruction = platform::win32::Wide(title);
    const std::wstring start = platform::win32::Wide(initialFolder);
    BROWSEINFOW browse{};
    browse.hwndOwner = backend_.MainWindow();
    browse.lpszTitle = instruction.c_str();
    if (!start.empty()) {
        browse.lpfn = &StartIn;
        browse.lParam = reinterpret_cast<LPARAM>(start.c_str());
    }
    const std::unique_ptr<ITEMIDLIST, IdListFree> picked(::SHBrowseForFolderW(&browse));
    if (!picked)
        return std::nullopt;
    std::wstring path(MAX_PATH, L'\0');
    if (!::SHGetPathFromIDListW(picked.get(), path.data()))
        return std::nullopt;
    path.resize(path.find(L'\0'));
    return TakePath(std::u16string(path.begin(), path.end()));
}

} // namespace backends::win32
