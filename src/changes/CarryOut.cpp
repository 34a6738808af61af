#include "changes/CarryOut.h"

#include "backup/BackupFolder.h"

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
    // What the registry refuses for what the change is, it refuses before
    // the backup: a retry would leave another backup of values never changed.
    if (!plan.values.empty() || !plan.emptyKeys.empty())
        if (tk::RegResult checked = CheckPlan(registry, plan); !checked)
            return CarryOutFault{ChangeNotApplied{checked.Error(), std::nullopt}};
    if (!plan.values.empty()) {
        auto written = backup::WriteBackup(backupFolder, name, 0, PlanBackupBytes(plan));
        if (!written)
            return CarryOutFault{written.Error()};
        done.backupPath = std::move(written.Value());
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
