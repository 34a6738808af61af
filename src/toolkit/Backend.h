#pragma once
// The backend that runs dialogs (headless, terminal, win32). Once installed,
// it is where ReportError's faults go: its standard error box.
#include "platform/Result.h"
#include "toolkit/DialogWindow.h"

#include <string>

namespace toolkit {

class CDialog;

class IBackend {
public:
    virtual ~IBackend() = default;
    // Creates the dialog's window, initialises it and runs its modal loop.
    virtual Answer RunModal(CDialog& dialog) = 0;
    // The toolkit's standard error box.
    virtual void ReportError(const std::string& text) = 0;
    // Shows the help file at `path` (help.chm): the system's viewer on
    // Windows, the same help as text in the terminal. A help file that is
    // missing or cannot be read is reported in the error box, naming it.
    virtual void ShowHelp(const std::string& path) = 0;
};

// Why a help file cannot be shown, in a message that names it.
struct HelpFileFault {
    std::string message;
};

// The bytes of a help file, or why it cannot be shown.
platform::Result<std::string, HelpFileFault> ReadHelpFile(const std::string& path);

// Shows `text` in the installed backend's standard error box; on standard
// error while none is installed, so that nothing is lost.
void ReportError(const std::string& text);

// Throws CException when no backend is installed.
IBackend& CurrentBackend();
void SetBackend(IBackend* backend);

// Installs a backend for the lifetime of the object and restores the
// previous one afterwards.
class ScopedBackend {
public:
    explicit ScopedBackend(IBackend& backend);
    ~ScopedBackend();
    ScopedBackend(const ScopedBackend&) = delete;
    ScopedBackend& operator=(const ScopedBackend&) = delete;

private:
    IBackend* previous_;
};

} // namespace toolkit
