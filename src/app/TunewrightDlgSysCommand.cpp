#include "app/TunewrightDlg.h"

void CTunewrightDlg::OnSysCommand(int commandId, long param)
{
    if ((commandId & 0xFFF0) == IDM_ABOUTBOX) {
        ShowAboutBox();
        return;
    }
    // Moving, minimising, the menus and Close belong to the system; its Close
    // comes back as the close request.
    tk::CDialog::OnSysCommand(commandId, param);
}
