#include "app/ControlIds.h"
#include "app/TunewrightDlg.h"

namespace {

constexpr int kSystemClose = 0xF060; // the system menu's Close (SC_CLOSE)

} // namespace

void CTunewrightDlg::OnSysCommand(int commandId, long)
{
    if ((commandId & 0xFFF0) == cmd::AboutSystemMenu) {
        ShowAboutBox();
        return;
    }
    // Of the other system commands only Close means anything to this dialog:
    // by default it becomes the close request.
    if ((commandId & 0xFFF0) == kSystemClose)
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
