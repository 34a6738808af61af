#include "app/TextKeys.h"
#include "app/TunewrightDlg.h"

namespace app {

namespace {

const char* const kSystemPolicies =
    "HKEY_LOCAL_MACHINE\\\\Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Policies\\\\System";

} // namespace

void CTunewrightDlg::AskUacQuestion()
{
    power.currentKeyPath = kSystemPolicies;
    const auto enabled = power.ReadDword(util::RegistryLocation::FromPath, "EnableLUA");
    if (enabled.fault)
        ShowRegistryFault(*enabled.fault);
    if (enabled.value != 1)
        return;
    const std::string text = T(textkey::UacQuestion1) + "\n\n" + T(textkey::UacQuestion2) + "\n\n" + T(textkey::UacQuestion3);
    const toolkit::BoxStyle question{toolkit::BoxButtons::YesNo, toolkit::BoxIcon::Question};
    // No is the user's own wish to end: nothing else is asked.
    if (ShowMessageBox(text, T(textkey::MessageCaption), question) != toolkit::Answer::Yes)
        toolkit::CDialog::OnCancel();
}

} // namespace app
