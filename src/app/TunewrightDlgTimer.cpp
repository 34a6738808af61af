#include "app/TunewrightDlg.h"

namespace app {

void CTunewrightDlg::OnTimer(int)
{
    selectionMark = functionList.GetSelectionMark();
    ShowSelectedFunction();
    if (previousSelectionMark != selectionMark) {
        ShowSelectedFunction();
        previousSelectionMark = selectionMark;
    }

    currentCategory = categoryBox.GetCurSel();
    if (previousCategory != currentCategory) {
        // Note the category before refilling: a refill that fails is reported
        // once, not again on every tick.
        previousCategory = currentCategory;
        RefillFunctionList();
    }

    // The registry editor that imports a reversed backup has ended.
    if (reverseImporter && reverseImporter->HasEnded()) {
        reverseImporter.reset();
        ShowImportedValue();
    }
}

} // namespace app
