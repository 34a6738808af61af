#include "app/TunewrightDlg.h"

namespace app {

void CTunewrightDlg::OnCtlColor(toolkit::CtlColorRequest& request)
{
    const int id = request.controlId;
    if (id == IDC_HINT_TEXT || id == IDC_INFO_TEXT || id == IDC_AVAILABILITY_TEXT) {
        request.transparentBackground = true;
        request.textColor = toolkit::Rgb{0, 0, 128};
    }
    if (id == IDC_CATEGORY_BOX) {
        request.textBackground = toolkit::Rgb{255, 255, 128};
        request.textColor = toolkit::Rgb{0, 0, 0};
    }
    request.brush = backgroundBrush;
}

} // namespace app
