#include "app/TextKeys.h"
#include "app/Texts.h"
#include "app/TunewrightDlg.h"

namespace app {

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
    const platform::RegResult deleted = power.DeleteValue(util::RegistryLocation::LocalMachine, kCompanionMarker);
    if (!deleted && !ShownRegistryFault(deleted.Error()) && !(deleted.Error() == platform::RegError::KeyNotFound)
        && !(deleted.Error() == platform::RegError::ValueNotFound))
        toolkit::ReportError(platform::Text(text::MarkerNotDeleted, {kCompanionMarker,
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
        platform::Text(text::CloseUnsaved, {functionNames[static_cast<std::size_t>(shownFunction)]});
    return ShowMessageBox(question, T(textkey::MessageCaption),
                          {toolkit::BoxButtons::YesNo, toolkit::BoxIcon::Question, true}) == toolkit::Answer::Yes;
}

void CTunewrightDlg::OnClose()
{
    if (!MayClose())
        return;
    DeleteCompanionMarker();
    // The default handling of the close request, the Cancel command, without
    // asking a second time.
    toolkit::CDialog::OnCancel();
}

void CTunewrightDlg::OnExit()
{
    if (!MayClose())
        return;
    DeleteCompanionMarker();
    toolkit::CDialog::OnOK();
}

// Enter.
void CTunewrightDlg::OnOK()
{
    if (MayClose())
        toolkit::CDialog::OnOK();
}

// Escape.
void CTunewrightDlg::OnCancel()
{
    if (MayClose())
        toolkit::CDialog::OnCancel();
}

} // namespace app
