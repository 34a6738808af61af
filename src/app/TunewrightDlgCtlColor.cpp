#include "app/TunewrightDlg.h"

void CTunewrightDlg::OnCtlColor(tk::CtlColorRequest& request)
{
    const int id = request.controlId;
    if (id == IDC_HINT_TEXT || id == IDC_INFO_TEXT || id == IDC_AVAILABILITY_TEXT) {
        request.transparentBackground = true;
        request.textColor = tk::Rgb{0, 0, 128};
    }
    if (id == IDC_CATEGORY_BOX) {
        request.textBackground = tk::Rgb{255, 255, 128};
        request.textColor = tk::Rgb{0, 0, 0};
    }
    request.brush = backgroundBrush;
}
