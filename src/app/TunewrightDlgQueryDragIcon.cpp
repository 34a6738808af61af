#include "app/TunewrightDlg.h"

int CTunewrightDlg::OnQueryDragIcon()
{
    return icon;
}
