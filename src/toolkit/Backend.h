#pragma once
// The backend that runs dialogs (headless, terminal, win32), and the one way
// a fault reaches the user: the backend's standard error box.
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

// Shows text in the installed backend's standard error box: for faults the
// user must hear of but that need not end the program (an error that escaped
// a handler, a registry store that cannot be parsed). Without a backend the
// text goes to standard error, so that no fault is lost.
void ReportError(const std::string& text);

} // namespace tk
