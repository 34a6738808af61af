#include "app/TunewrightApp.h"

#include "app/TunewrightDlg.h"

// The title of message boxes that have no caption of their own.
CTunewrightApp::CTunewrightApp() : tk::CWinApp("Tunewright") {}

bool CTunewrightApp::InitInstance()
{
    CTunewrightDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    // The application ends when its dialog has closed.
    return false;
}
