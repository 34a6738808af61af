#include "app/ControlIds.h"
#include "app/TunewrightDlg.h"

void CTunewrightDlg::OnSysCommand(int commandId, long)
{
    if ((commandId & 0xFFF0) == cmd::AboutSystemMenu) {
        ShowAboutBox();
        return;
    }
    // Everything else (Close, Move, ...) takes the default path.
    if ((commandId & 0xFFF0) == 0xF060)
        OnClose();
}

int CTunewrightDlg::OnQueryDragIcon()
{
    return icon;
}

void CTunewrightDlg::OnCtlColor(tk::CtlColorRequest& request)
{
    if (request.controlId == ctl::Hint || request.controlId == ctl::Info || request.controlId == ctl::Availability) {
        request.transparentBackground = true;
        request.textColor = tk::Rgb{0, 0, 128};
    }
    if (request.controlId == ctl::CategoryBox) {
        request.textBackground = tk::Rgb{255, 255, 128};
        request.textColor = tk::Rgb{0, 0, 0};
    }
    request.brush = backgroundBrush;
}
