#include "app/TunewrightDlg.h"

// Reverse changes is not built yet. Its command is routed already and does
// nothing until it is.
void CTunewrightDlg::OnReverseChanges() {}
