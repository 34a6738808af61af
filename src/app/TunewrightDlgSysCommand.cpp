#include "app/TunewrightDlg.h"

namespace app {

void CTunewrightDlg::OnSysCommand(int commandId, long param)
{
    if ((commandId & 0xFFF0) == IDM_ABOUTBOX) {
        ShowAboutBox();
        return;
    }
    // Moving, minimising, the menus and Close belong to the system; its Close
    // comes back as the close request.
    toolkit::CDialog::OnSysCommand(commandId, param);
}

} // namespace app
