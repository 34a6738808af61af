#include "app/TunewrightDlg.h"

namespace {

// The marker of the companion program, removed when the window is closed.
const char* const kCompanionKey = "Software\\Orvelle\\Orvelle Kitbasket";
const char* const kCompanionMarker = "active";

} // namespace

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
