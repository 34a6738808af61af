#include "app/TextKeys.h"
#include "app/Texts.h"
#include "app/TunewrightDlg.h"

#include "app/FileFilters.h"
#include "app/history/HistoryChange.h"
#include "backup/BackupFolder.h"
#include "changes/CarryOut.h"
#include "platform/FileSystem.h"
#include "util/Path.h"

namespace app {

// The chosen backup goes to the shell's "open", which imports it: on Windows
// the registry editor, which asks before it writes, on Linux the program
// itself, before the shell returns. The values it will change go into a
// backup of their own first, so that the Reverse can be undone from the
// history in turn; without that backup nothing is handed over. Afterwards
// the panel shows what the registry holds, so that the next Save does not
// write the reversed value back: at once, again when the registry editor
// ends (OnTimer) and when the window is active again (OnActivate).
void CTunewrightDlg::OnReverseChanges()
{
    const std::string folder = backup::BackupFolder(power.GetApplicationFolder());
    ShowMessageBox(T(textkey::ReverseMessage1) + "\n" + T(textkey::ReverseMessage2), "Orvelle Tunewright");
    const std::optional<std::string> file = Window()->FileOpenDialog({kBackupFileFilter, folder});
    if (!file)
        return;
    const auto notHandedOver = [this, &file](const std::string& why) {
        ShowMessageBox(platform::Text(text::ReverseNotBackedUp, {*file}) + "\n\n" + why, T(textkey::MessageCaption),
                       {toolkit::BoxButtons::Ok, toolkit::BoxIcon::Error});
    };
    const auto changes = changes::RestoreChanges(*file);
    if (!changes) {
        notHandedOver(ChangeFaultText(changes.Error()));
        return;
    }
    const auto backedUp = changes::BackUpChanges(*platform::CurrentServices().registry, changes.Value(), folder,
                                                 changes::ReverseChangeName(util::FileNameOf(*file)));
    if (!backedUp) {
        notHandedOver(ChangeFaultText(backedUp.Error()));
        return;
    }
    platform::ShellStarted started = platform::ShellOpenFollowed(*file);
    if (!started) {
        // Nothing was handed over: the backup holds values that no change
        // replaced. One that cannot be removed does no harm: it holds what
        // the registry holds.
        if (const auto& written = backedUp.Value().backupPath)
            static_cast<void>(platform::RemoveFile(*written));
        OfferRestore(*file, started.Error());
        return;
    }
    ShowFunctionAgain();
    showAgainOnActivate = true;
    reverseImporter = std::move(started.Value());
}

// No program opens registry files (a new Wine prefix has none): the program
// restores the backup itself, as the history of changes does.
void CTunewrightDlg::OfferRestore(const std::string& file, const std::string& cause)
{
    if (ShowMessageBox(platform::Text(text::RestoreInstead, {file, cause}), T(textkey::MessageCaption),
                       {toolkit::BoxButtons::YesNo, toolkit::BoxIcon::Question}) != toolkit::Answer::Yes)
        return;
    RunHistoryChange(*this, changes::RestoreChanges(file), changes::RestoreChangeName(util::FileNameOf(file)), std::nullopt,
                     backup::BackupFolder(power.GetApplicationFolder()), [this](bool carriedOut) {
                         if (carriedOut)
                             ShowFunctionAgain();
                     });
}

} // namespace app
