#include "app/TextKeys.h"
#include "app/TunewrightDlg.h"

#include "saving/BackupFile.h"
#include "app/FileFilters.h"
#include "platform/Services.h"

// The chosen backup goes to the shell's "open", which imports it: on Windows
// the registry editor, which asks before it writes.
void CTunewrightDlg::OnReverseChanges()
{
    const std::string folder = BackupFolder(power.GetApplicationFolder());
    ShowMessageBox(T(textkey::ReverseMessage1) + "\n" + T(textkey::ReverseMessage2), "Orvelle Tunewright");
    if (const std::optional<std::string> file = Window()->FileOpenDialog({kBackupFileFilter, folder}))
        tk::ShellOpen(*file);
}
