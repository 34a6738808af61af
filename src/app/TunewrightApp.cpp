#include "app/TunewrightApp.h"

#include "app/TunewrightDlg.h"

namespace app {

// The title of message boxes that have no caption of their own.
CTunewrightApp::CTunewrightApp() : toolkit::CWinApp("Tunewright") {}

bool CTunewrightApp::InitInstance()
{
    CTunewrightDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    // The application ends when its dialog has closed.
    return false;
}

} // namespace app
