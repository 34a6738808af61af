#include "app/TunewrightDlg.h"

namespace app {

int CTunewrightDlg::OnQueryDragIcon()
{
    return icon;
}

} // namespace app
