#include "app/TextKeys.h"
#include "app/Texts.h"
#include "app/TunewrightDlg.h"

namespace {

// The marker of the companion program, removed when the window is closed.
const char* const kCompanionKey = "Software\\Orvelle\\Orvelle Kitbasket";
const char* const kCompanionMarker = "active";

} // namespace

// A marker that is not there is no fault; a registry that refuses the
// delete is told, since the companion will think this program still runs,
// unless the window has shown that fault already.
void CTunewrightDlg::DeleteCompanionMarker()
{
    power.currentKeyPath = kCompanionKey;
    const tk::RegResult deleted = power.DeleteValue(RegistryLocation::LocalMachine, kCompanionMarker);
    if (!deleted && !ShownRegistryFault(deleted.Error()) && !(deleted.Error() == tk::RegError::KeyNotFound)
        && !(deleted.Error() == tk::RegError::ValueNotFound))
        tk::ReportError(tk::Text(text::MarkerNotDeleted, {kCompanionMarker,
                                                          "HKEY_LOCAL_MACHINE\\" + std::string(kCompanionKey),
                                                          deleted.Error().cause}));
}

// Every way to close comes here first: a value the user typed or chose and
// has not saved is not lost without a word.
bool CTunewrightDlg::MayClose()
{
    if (!HoldsUnsavedValue())
        return true;
    const std::string question =
        tk::Text(text::CloseUnsaved, {functionNames[static_cast<std::size_t>(shownFunction)]});
    return ShowMessageBox(question, T(textkey::MessageCaption),
                          {tk::BoxButtons::YesNo, tk::BoxIcon::Question, true}) == tk::Answer::Yes;
}

void CTunewrightDlg::OnClose()
{
    if (!MayClose())
        return;
    DeleteCompanionMarker();
    // The default handling of the close request, the Cancel command, without
    // asking a second time.
    tk::CDialog::OnCancel();
}

void CTunewrightDlg::OnExit()
{
    if (!MayClose())
        return;
    DeleteCompanionMarker();
    tk::CDialog::OnOK();
}

// Enter.
void CTunewrightDlg::OnOK()
{
    if (MayClose())
        tk::CDialog::OnOK();
}

// Escape.
void CTunewrightDlg::OnCancel()
{
    if (MayClose())
        tk::CDialog::OnCancel();
}
