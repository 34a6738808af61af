#include "app/TunewrightDlg.h"

namespace app {

// The Windows shell hands a backup to the registry editor and returns before
// it imports; the user comes back to this window when the editor is done.
void CTunewrightDlg::OnActivate()
{
    if (showAgainOnActivate)
        ShowImportedValue();
}

// A value typed meanwhile is the user's newer wish and stays.
void CTunewrightDlg::ShowImportedValue()
{
    showAgainOnActivate = false;
    if (!HoldsUnsavedValue())
        ShowFunctionAgain();
}

} // namespace app
