#pragma once
// The win32 backend: every dialog is a real modal dialog that the system
// builds from the program's compiled dialog templates, and one dialog
// procedure turns the system's messages into the toolkit's (DialogProc.cpp).
// The backend keeps the stack of open dialogs, so that each dialog and each
// box has the dialog that asked for it as its owner.
#include "toolkit/Backend.h"
#include "platform/win32/Win32.h"

#include <map>
#include <string>
#include <vector>

namespace backends::win32 {

class Win32Window;

class Win32Backend final : public toolkit::IBackend {
public:
    // Registers the common controls the templates use (the list view), and
    // takes the keyboard keys of the program's accelerator tables.
    Win32Backend();
    ~Win32Backend() override;
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;

    // Throws CException when the system cannot make the dialog.
    toolkit::Answer RunModal(toolkit::CDialog& dialog) override;
    // A message box with the error icon, owned by the innermost dialog.
    void ReportError(const std::string& text) override;
    // The system's help viewer, through the shell's "open"; a help file that
    // is missing or that the shell cannot open is reported.
    void ShowHelp(const std::string& path) override;

    // The innermost open dialog and the outermost (the main window); null
    // when none is open.
    HWND ActiveWindow() const;
    HWND MainWindow() const;
    // A solid brush of the colour, made on first use and kept while the
    // backend lives.
    HBRUSH Brush(COLORREF colour);

    // The dialog procedure reports a dialog made and one about to go.
    void Opened(Win32Window& window);
    void Closing(const Win32Window& window);

    // A key pressed in the innermost dialog that its accelerator table
    // names becomes that table's command to the dialog.
    bool TranslateKey(MSG& message) const;

private:
    std::vector<Win32Window*> open_;
    // The accelerator table of each dialog that is running, innermost last
    // (Resources.h: one with the dialog's menu id, else its opener's).
    std::vector<HACCEL> keys_;
    HHOOK keyHook_ = nullptr;
    std::map<COLORREF, platform::win32::UniqueBrush> brushes_;
};

} // namespace backends::win32
