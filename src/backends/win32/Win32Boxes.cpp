// The modal boxes of a dialog: message boxes, the file-open dialog and the
// folder browser.
#include "backends/win32/Win32Backend.h"
#include "backends/win32/Win32Window.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>

namespace tk {

namespace {

UINT BoxFlags(BoxStyle style)
{
    UINT flags = style.buttons == BoxButtons::YesNo ? MB_YESNO : MB_OK;
    if (style.icon == BoxIcon::Question)
        flags |= MB_ICONQUESTION;
    else if (style.icon == BoxIcon::Error)
        flags |= MB_ICONERROR;
    return flags;
}

Answer AnswerOf(int button)
{
    switch (button) {
    case IDOK: return Answer::Ok;
    case IDYES: return Answer::Yes;
    case IDNO: return Answer::No;
    default: return Answer::Cancel;
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
        ::SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, folder);
    return 0;
}

struct IdListFree {
    void operator()(ITEMIDLIST* list) const { ::CoTaskMemFree(list); }
};

} // namespace

Answer ShowBox(HWND owner, std::string_view text, std::string_view caption, BoxStyle style)
{
    return AnswerOf(::MessageBoxA(owner, std::string(text).c_str(), std::string(caption).c_str(), BoxFlags(style)));
}

Answer Win32Window::ShowMessageBox(std::string_view text, std::string_view caption, BoxStyle style)
{
    return ShowBox(window_, text, caption, style);
}

// The toolkit's filter "Text (*.x)|*.x" becomes the system's NUL-separated
// list, which ends with an empty entry.
std::optional<std::string> Win32Window::FileOpenDialog(const FileDialogRequest& request)
{
    std::string filter = request.filter;
    std::replace(filter.begin(), filter.end(), '|', '\0');
    filter.append(2, '\0');
    std::string file(32768, '\0');
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
    if (!::GetOpenFileNameA(&dialog))
        return std::nullopt;
    file.resize(file.find('\0'));
    return file;
}

// Modal to the main window, so that no second Browse can start while it is
// open. It starts at the given folder when that exists, else at the desktop.
// A pick without a file-system path (the Control Panel, say) is no pick.
std::optional<std::string> Win32Window::BrowseForFolder(std::string_view title, std::string_view initialFolder)
{
    const ComScope com;
    const std::string instruction(title);
    const std::string start(initialFolder);
    BROWSEINFOA browse{};
    browse.hwndOwner = backend_.MainWindow();
    browse.lpszTitle = instruction.c_str();
    if (!start.empty()) {
        browse.lpfn = &StartIn;
        browse.lParam = reinterpret_cast<LPARAM>(start.c_str());
    }
    const std::unique_ptr<ITEMIDLIST, IdListFree> picked(::SHBrowseForFolderA(&browse));
    if (!picked)
        return std::nullopt;
    std::string path(MAX_PATH, '\0');
    if (!::SHGetPathFromIDListA(picked.get(), path.data()))
        return std::nullopt;
    path.resize(path.find('\0'));
    return path;
}

} // namespace tk
