#include "changes/CarryOut.h"

#include "platform/Exceptions.h"
#include "saving/BackupFile.h"
#include "util/PowerClass.h"

namespace {

tk::Result<CarriedOut, CarryOutFault> CarryOutHeld(tk::IRegistry& registry, const ChangeSet& changes,
                                                   const std::string& backupFolder, const std::string& name,
                                                   bool check)
{
    auto planned = PlanChanges(registry, changes);
    if (!planned)
        return CarryOutFault{planned.Error()};
    CarriedOut done{std::move(planned.Value()), std::nullopt};
    const ChangePlan& plan = done.plan;
    if (check)
        return done;
    if (!plan.values.empty()) {
        try {
            done.backupPath = WriteBackupFile(backupFolder, BackupStemNow(PowerClass(), name, 0), PlanBackupBytes(plan));
        } catch (const tk::CException& e) {
            return CarryOutFault{BackupNotWritten{e.what()}};
        }
    }
    if (!plan.values.empty() || !plan.emptyKeys.empty())
        if (tk::RegResult applied = ApplyPlan(registry, plan); !applied)
            return CarryOutFault{ChangeNotApplied{applied.Error(), done.backupPath}};
    return done;
}

} // namespace

tk::Result<CarriedOut, CarryOutFault> CarryOutChanges(tk::IRegistry& registry, const ChangeSet& changes,
                                                      const std::string& backupFolder, const std::string& name,
                                                      bool check)
{
    // Planned, backed up and applied under one hold of the registry: a change
    // by another program in between would leave a backup of values this
    // change never replaced.
    std::optional<tk::Result<CarriedOut, CarryOutFault>> outcome;
    registry.Exclusively([&] { outcome.emplace(CarryOutHeld(registry, changes, backupFolder, name, check)); });
    return std::move(*outcome);
}
