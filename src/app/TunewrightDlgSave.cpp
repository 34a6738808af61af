#include "app/TunewrightDlg.h"

// Saving a new configuration is not built yet. Its command is routed already and does
// nothing until it is.
void CTunewrightDlg::OnSaveNewConfiguration() {}
