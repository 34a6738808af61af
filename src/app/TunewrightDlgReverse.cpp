#include "app/TextKeys.h"
#include "app/TunewrightDlg.h"

#include "app/FileFilters.h"
#include "backup/BackupFolder.h"

// The chosen backup goes to the shell's "open", which imports it: on Windows
// the registry editor, which asks before it writes, on Linux the program
// itself, before the shell returns. Either way the panel then shows what the
// registry holds, so that the next Save does not write the reversed value
// back.
void CTunewrightDlg::OnReverseChanges()
{
    const std::string folder = backup::BackupFolder(power.GetApplicationFolder());
    ShowMessageBox(T(textkey::ReverseMessage1) + "\n" + T(textkey::ReverseMessage2), "Orvelle Tunewright");
    const std::optional<std::string> file = Window()->FileOpenDialog({kBackupFileFilter, folder});
    if (!file || !OpenWithShell(*file))
        return;
    ShowFunctionAgain();
    showAgainOnActivate = true;
}
