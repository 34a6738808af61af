#include "changes/CarryOut.h"

#include "backup/BackupFolder.h"

namespace changes {

namespace {

// How far a change goes: planned only, backed up for another program to
// apply, or applied here.
enum class Until { Planned, BackedUp, Applied };

platform::Result<CarriedOut, CarryOutFault> CarryOutHeld(platform::IRegistry& registry, const ChangeSet& changes,
                                                   const std::string& backupFolder, const std::string& name,
                                                   Until until)
{
    auto planned = PlanChanges(registry, changes);
    if (!planned)
        return CarryOutFault{planned.Error()};
    CarriedOut done{std::move(planned.Value()), std::nullopt};
    const ChangePlan& plan = done.plan;
    if (until == Until::Planned)
        return done;
    // What the registry refuses for what the change is, it refuses before
    // the backup: a retry would leave another backup of values never changed.
    if (!plan.values.empty() || !plan.emptyKeys.empty())
        if (platform::RegResult checked = CheckPlan(registry, plan); !checked)
            return CarryOutFault{ChangeNotApplied{checked.Error(), std::nullopt}};
    if (!plan.values.empty()) {
        auto written = backup::WriteBackup(backupFolder, name, 0,
                                           [&plan](const platform::WritePiece& write) { WritePlanBackup(plan, write); });
        if (!written)
            return CarryOutFault{written.Error()};
        done.backupPath = std::move(written.Value());
    }
    if (until == Until::BackedUp)
        return done;
    if (!plan.values.empty() || !plan.emptyKeys.empty())
        if (platform::RegResult applied = ApplyPlan(registry, plan); !applied)
            return CarryOutFault{ChangeNotApplied{applied.Error(), done.backupPath}};
    return done;
}

// Planned, backed up and applied under one hold of the registry: a change
// by another program in between would leave a backup of values this change
// never replaced.
platform::Result<CarriedOut, CarryOutFault> CarryOutExclusively(platform::IRegistry& registry, const ChangeSet& changes,
                                                          const std::string& backupFolder, const std::string& name,
                                                          Until until)
{
    std::optional<platform::Result<CarriedOut, CarryOutFault>> outcome;
    registry.Exclusively([&] { outcome.emplace(CarryOutHeld(registry, changes, backupFolder, name, until)); });
    return std::move(*outcome);
}

} // namespace

platform::Result<CarriedOut, CarryOutFault> CarryOutChanges(platform::IRegistry& registry, const ChangeSet& changes,
                                                      const std::string& backupFolder, const std::string& name,
                                                      bool check)
{
    return CarryOutExclusively(registry, changes, backupFolder, name, check ? Until::Planned : Until::Applied);
}

platform::Result<CarriedOut, CarryOutFault> BackUpChanges(platform::IRegistry& registry, const ChangeSet& changes,
                                                    const std::string& backupFolder, const std::string& name)
{
    return CarryOutExclusively(registry, changes, backupFolder, name, Until::BackedUp);
}

} // namespace changes
