#include "app/TunewrightApp.h"

#include "app/TunewrightDlg.h"

bool CTunewrightApp::InitInstance()
{
    CTunewrightDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    // The application ends when its dialog has closed.
    return false;
}
