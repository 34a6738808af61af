#include "app/Texts.h"
#include "app/TunewrightDlg.h"

#include "platform/ErrorReport.h"

namespace {

// The marker of the companion program, removed when the window is closed.
const char* const kCompanionKey = "Software\\Orvelle\\Orvelle Kitbasket";
const char* const kCompanionMarker = "active";

} // namespace

// A marker that is not there is no fault; a registry that refuses the
// delete is told, since the companion will think this program still runs,
// unless the registry has shown that fault already.
void CTunewrightDlg::DeleteCompanionMarker()
{
    power.currentKeyPath = kCompanionKey;
    const tk::RegResult deleted = power.DeleteValue(RegistryLocation::LocalMachine, kCompanionMarker);
    if (!deleted && !deleted.Error().told && !(deleted.Error() == tk::RegError::KeyNotFound)
        && !(deleted.Error() == tk::RegError::ValueNotFound))
        tk::ReportError(tk::Text(text::MarkerNotDeleted, {kCompanionMarker,
                                                          "HKEY_LOCAL_MACHINE\\" + std::string(kCompanionKey),
                                                          deleted.Error().cause}));
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
