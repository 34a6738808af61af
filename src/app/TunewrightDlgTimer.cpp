#include "app/TunewrightDlg.h"

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
}
