#pragma once
// The one dialog procedure of every dialog the win32 backend runs.
#include "platform/win32/Win32.h"

#include <memory>

namespace toolkit { class CDialog; }
namespace backends::win32 {

class Win32Backend;
class Win32Window;

// What RunModal hands the procedure: the dialog to run; the procedure makes
// its window when the system has made the real one.
struct ModalRun {
    Win32Backend& backend;
    toolkit::CDialog& dialog;
    std::unique_ptr<Win32Window> window;
};

// Maps the system's messages to the dialog's message map. No exception
// leaves it: one that escapes is shown in the standard error box.
INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace backends::win32
