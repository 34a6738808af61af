#include "app/TunewrightDlg.h"

namespace app {

void CTunewrightDlg::OnPaint()
{
    // The template has no minimise box: only the system minimises the window.
    if (Window()->IsMinimized())
        Window()->PaintIconCentred(icon);
    else
        Default();
}

} // namespace app
