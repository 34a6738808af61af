#pragma once
// The backend that runs dialogs (headless, terminal, win32). Once installed,
// it is where ReportError's faults go: its standard error box.
#include "platform/ErrorReport.h"
#include "toolkit/DialogWindow.h"

#include <string>

namespace tk {

class CDialog;

class IBackend {
public:
    virtual ~IBackend() = default;
    // Creates the dialog's window, initialises it and runs its modal loop.
    virtual Answer RunModal(CDialog& dialog) = 0;
    // The toolkit's standard error box.
    virtual void ReportError(const std::string& text) = 0;
};

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

} // namespace tk
