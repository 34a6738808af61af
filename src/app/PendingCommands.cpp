#include "app/TunewrightDlg.h"

// Saving, Browse, Reverse changes and Language Selection are not built yet.
// Their commands are routed already and do nothing until they are.
void CTunewrightDlg::OnSaveNewConfiguration() {}
void CTunewrightDlg::OnBrowse() {}
void CTunewrightDlg::OnReverseChanges() {}
void CTunewrightDlg::OnLanguageSelection() {}
