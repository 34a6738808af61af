#include "app/TunewrightDlg.h"

void CTunewrightDlg::OnSysCommand(int commandId, long)
{
    if ((commandId & 0xFFF0) == IDM_ABOUTBOX) {
        ShowAboutBox();
        return;
    }
    // Of the other system commands only Close means anything to this dialog:
    // by default it becomes the close request.
    if ((commandId & 0xFFF0) == tk::SystemCloseCommand)
        OnClose();
}
