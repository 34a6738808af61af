#include "app/TunewrightDlg.h"

// The Windows shell hands a backup to the registry editor and returns before
// it imports; the user comes back to this window when the editor is done.
// A value typed meanwhile is the user's newer wish and stays.
void CTunewrightDlg::OnActivate()
{
    if (!showAgainOnActivate)
        return;
    showAgainOnActivate = false;
    UpdateData(true);
    const KindRow* row = FindKind(PowerClass::DecimalToInt(header.substr(0, 2)));
    if (row && PanelDiffers(*row, shownInput, CurrentInput()))
        return;
    ShowFunctionAgain();
}
