#pragma once
// The history of changes: every backup of the backup folder, newest first,
// with the values it holds beside those the registry holds now. Restore puts
// one backup back, "Undo all since this" the state from before the chosen
// backup and every newer one; each asks first and goes behind a backup of
// its own, so that it can be undone in turn.
#include "backup/BackupFolder.h"
#include "changes/RestoreChanges.h"
#include "resource.h"
#include "toolkit/Dialog.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace app {

class CHistoryDlg : public toolkit::CDialog {
public:
    enum { IDD = IDD_HISTORY };

    // `changed` runs after each change of the registry, so that the window
    // behind the box shows what the registry holds. `unusable` tells of a
    // registry that cannot be read at all, as the window tells it: naming
    // the store and its fault, once.
    CHistoryDlg(std::string applicationFolder, std::function<void()> changed,
                std::function<void(const platform::RegFault&)> unusable);

    bool OnInitDialog() override;
    const toolkit::MessageMap& GetMessageMap() const override;

protected:
    void DoDataExchange(toolkit::CDataExchange& dx) override;
    void OnRestore();
    void OnUndoSince();

private:
    // Lists the backups anew; the newest is chosen.
    void Fill(const std::string& keep = {});
    // The backup under the list's selection mark; none is told.
    std::optional<std::size_t> Chosen();
    // Asks with `question` and the number of values that change, then
    // carries the change out and says what it changed.
    void Change(const platform::Result<changes::ChangeSet, changes::BackupReadFault>& changes, const std::string& name,
                const std::string& question);
    void Tell(const std::string& message, bool failure);

    std::string applicationFolder_;
    std::function<void()> changed_;
    std::function<void(const platform::RegFault&)> unusable_;
    std::vector<backup::BackupFile> backups_;
    toolkit::CListCtrl list_;
};

} // namespace app
