#pragma once
// A change of many values carried out: planned against the registry, its
// backup written, then applied as one change. All of it or nothing: no
// registry change without its backup, and no half-applied change.
#include "backup/BackupFolder.h"
#include "changes/ChangeSet.h"
#include "platform/Registry.h"
#include "platform/Result.h"
#include "saving/RegistryCause.h"

#include <optional>
#include <string>
#include <variant>

namespace changes {

struct CarriedOut {
    ChangePlan plan;
    std::optional<std::string> backupPath; // none when nothing was backed up
};

// The registry refused the change; nothing of it was made. The backup, when
// one was written, holds the values from before.
struct ChangeNotApplied {
    platform::RegFault fault;
    std::optional<std::string> backupPath;
};

// backup::BackupFault: the backup could not be written; nothing was changed.
using CarryOutFault = std::variant<PlanFault, backup::BackupFault, ChangeNotApplied>;

// Plans the change, then, unless it changes no value, writes its backup
// into `backupFolder`, named after the clock's minute and `name`, and applies
// it. With `check` it only plans.
platform::Result<CarriedOut, CarryOutFault> CarryOutChanges(platform::IRegistry& registry, const ChangeSet& changes,
                                                      const std::string& backupFolder, const std::string& name,
                                                      bool check);

// Plans the change and writes its backup as CarryOutChanges does, for a
// program outside this one to apply it (the registry editor, the importer):
// the backup is what lets that change be undone from the history.
platform::Result<CarriedOut, CarryOutFault> BackUpChanges(platform::IRegistry& registry, const ChangeSet& changes,
                                                    const std::string& backupFolder, const std::string& name);

} // namespace changes
