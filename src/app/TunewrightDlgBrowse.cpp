#include "app/TunewrightDlg.h"

// Browse is not built yet. Its command is routed already and does
// nothing until it is.
void CTunewrightDlg::OnBrowse() {}
