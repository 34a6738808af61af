#include "app/TextKeys.h"
#include "app/TunewrightDlg.h"
#include "i18n/LanguageSelection.h"

namespace app {

void CTunewrightDlg::OnLanguageSelection()
{
    const std::string current = power.ReadSetting("Language");
    i18n::CLanguageSelection dialog;
    dialog.chosenLanguage = current;
    dialog.caption = T(textkey::LanguageGroupCaption);
    dialog.DoModal();
    if (dialog.chosenLanguage == current)
        return;
    power.WriteSetting("Language", dialog.chosenLanguage);
    // The whole window takes on the new language at once, start-up question
    // included.
    OnInitDialog();
}

} // namespace app
