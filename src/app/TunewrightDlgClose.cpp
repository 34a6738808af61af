#include "app/TunewrightDlg.h"

namespace {

// The marker of the companion program, removed when the window is closed.
const char* const kCompanionKey = "Software\\Orvelle\\Orvelle Kitbasket";
const char* const kCompanionMarker = "active";

} // namespace

void CTunewrightDlg::DeleteCompanionMarker()
{
    power.currentKeyPath = kCompanionKey;
    power.DeleteValue(RegistryLocation::LocalMachine, kCompanionMarker);
}

void CTunewrightDlg::OnClose()
{
    DeleteCompanionMarker();
    tk::CDialog::OnClose();
}

void CTunewrightDlg::OnExit()
{
    DeleteCompanionMarker();
    OnOK();
}
