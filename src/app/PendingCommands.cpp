#include "app/TunewrightDlg.h"

// Saving, Browse and Reverse changes are not built yet.
// Their commands are routed already and do nothing until they are.
void CTunewrightDlg::OnSaveNewConfiguration() {}
void CTunewrightDlg::OnBrowse() {}
void CTunewrightDlg::OnReverseChanges() {}
