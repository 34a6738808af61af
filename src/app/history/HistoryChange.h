#pragma once
// A change of many values as the history of changes makes it, from its
// question to its message: planned, asked, carried out behind a backup of
// its own, and told. Restore and Undo all since this run it, and so does a
// Reverse changes whose backup no program could open.
#include "changes/CarryOut.h"
#include "changes/RestoreChanges.h"
#include "toolkit/Dialog.h"

#include <functional>
#include <optional>
#include <string>

namespace app {

// Why a change was not made, as the user reads it: the fault, then that
// nothing was changed (or which backup holds the values from before).
std::string ChangeFaultText(const changes::BackupReadFault& fault);
std::string ChangeFaultText(const changes::CarryOutFault& fault);

// Asks `question` with the number of values that change (none: the user
// asked for the change already), then carries it out into `backupFolder`
// under `name` and tells in boxes owned by `owner` what it changed or why
// it changed nothing. `tried` runs after the change was tried, before its
// message, told whether it was carried out.
void RunHistoryChange(toolkit::CDialog& owner, const platform::Result<changes::ChangeSet, changes::BackupReadFault>& changes,
                      const std::string& name, const std::optional<std::string>& question,
                      const std::string& backupFolder, const std::function<void(bool carriedOut)>& tried);

} // namespace app
