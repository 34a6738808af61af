#include "app/TunewrightDlg.h"

#include "app/history/HistoryDlg.h"

namespace app {

// The box restores backups while the window shows a function: after each
// change the panel shows what the registry holds, so that the next Save does
// not write back what was just restored.
void CTunewrightDlg::OnHistory()
{
    CHistoryDlg box(power.GetApplicationFolder(), [this] { ShowFunctionAgain(); },
                    [this](const platform::RegFault& fault) { ShowRegistryFault(fault); });
    box.DoModal();
}

} // namespace app
