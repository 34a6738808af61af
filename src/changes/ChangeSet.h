#pragma once
// Many values changed at once, as restoring a backup, undoing several
// backups and applying a profile change them: read from a registry file,
// planned against what the registry holds (a value already as wanted drops
// out), backed up in one file that restores what the change replaces, and
// applied as one change of the registry.
#include "backup/BackupBytes.h"
#include "platform/NewFile.h"
#include "platform/Registry.h"
#include "platform/Result.h"
#include "regfile/RegFile.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace changes {

// The file and line of a value whose text the code page cannot hold (a
// version 5 file's text kept in its wide form): a registry that cannot hold
// it refuses the change naming them.
struct WideTextSource {
    std::string path;
    int line = 0;
};

struct ChangeSet {
    // Each value once, where the file first names it; a later line for the
    // same value gives it its data. The values of one section share its key.
    std::vector<platform::RegValueChange> values;
    // To remove when they hold nothing, deeper keys first.
    std::vector<platform::RegKeyPath> emptyKeys;
    // Where each value in the wide form comes from, by its place in `values`.
    std::map<std::size_t, WideTextSource> wideSources;
};

// Why a registry file makes no change set: the line and its key, as written.
struct ChangeFileFault {
    enum class Kind {
        OtherRoot,  // a key below another root than the two the program writes
        RemovesKey, // a profile's [-KEY]: its values would go without a backup
    };
    Kind kind = Kind::OtherRoot;
    int line = 0;
    std::string key;
};

// What restoring a backup changes: its values, and the keys that its change
// created, named by the comment line a backup holds for it (backup/BackupBytes.h) or, in a
// backup written before that comment, by a [-KEY] line. Such a key is removed
// only when it holds nothing once the values are restored, and before it the
// keys between it and the backup's keys below it that hold nothing then.
// `path` names the file in WideTextSource. The document's values move into
// the set: pass it with std::move unless it is needed again, so that a large
// file's values are not held twice.
platform::Result<ChangeSet, ChangeFileFault> BackupChanges(regfile::RegFileDocument backup, const std::string& path = {});

// What applying a profile, or any registry file, changes: its values.
platform::Result<ChangeSet, ChangeFileFault> ProfileChanges(regfile::RegFileDocument profile, const std::string& path = {});

// The change set of a registry file made as its parse hands over each
// section (regfile::ParseRegFileSections): the file's values are held once, in
// the set, and no whole document beside it. A parse that fails drops the
// reader. As BackupChanges reads a file when `backup`, else as
// ProfileChanges; `path` names the file in WideTextSource.
class ChangeSetReader final : public regfile::RegSectionSink {
public:
    ChangeSetReader(bool backup, std::string path);
    ~ChangeSetReader();
    ChangeSetReader(const ChangeSetReader&) = delete;
    ChangeSetReader& operator=(const ChangeSetReader&) = delete;

    void Expect(std::size_t valueLines) override;
    void Section(regfile::RegFileSection section) override;
    void Closing(std::vector<std::string> comments) override;

    // Once the whole file is parsed: the set, or the fault of the first
    // section that a change may not have.
    platform::Result<ChangeSet, ChangeFileFault> Take();

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Backups restored newest first as one change: where two name one value, the
// older one's value is the one that stays.
ChangeSet UndoChanges(std::vector<ChangeSet> newestFirst);

// A value the plan changes: what the registry holds now (its wide form where
// the code page cannot carry its text; none when it holds none), and the
// outermost key the write creates when the value's key is not there (null
// when it is), one of the plan's createdKeys, shared by the values of that
// key. A value held now has its key, so one pointer holds either. The change
// is the change set's, which outlives the plan: a profile's plan would
// otherwise hold each value twice. Two pointers, as a plan of a large
// profile holds one for each of its values.
class PlannedValue {
public:
    // A value held now as `before`, or under a key that is there (null).
    PlannedValue(const platform::RegValueChange& change, std::unique_ptr<const platform::ExactRegValue> before);
    // A value under a key that the write creates.
    PlannedValue(const platform::RegValueChange& change, const platform::RegKeyPath& createdKey);
    PlannedValue(PlannedValue&& other) noexcept;
    PlannedValue(const PlannedValue&) = delete;
    PlannedValue& operator=(const PlannedValue&) = delete;
    ~PlannedValue();

    const platform::RegValueChange& Change() const { return *change_; }
    // What the registry holds now, if anything.
    const platform::ExactRegValue* Held() const;
    std::optional<platform::ExactRegValue> Before() const
    {
        const platform::ExactRegValue* held = Held();
        return held ? std::optional<platform::ExactRegValue>(*held) : std::nullopt;
    }
    const platform::RegKeyPath* CreatedKey() const;

private:
    static constexpr std::uintptr_t kCreatedKey = 1;

    const platform::RegValueChange* change_;
    // The held value's address; or the created key's, marked by kCreatedKey.
    std::uintptr_t now_ = 0;
};

struct ChangePlan {
    std::vector<PlannedValue> values; // only those that change
    std::vector<platform::RegKeyPath> emptyKeys;
    // Each key the writes create, once however many values and keys below
    // it are missing, in the order the values first name them, spelled as
    // the first names it; its place stays when the plan moves.
    std::vector<std::unique_ptr<const platform::RegKeyPath>> createdKeys;
    // The set's values when every one of them changes, as a profile of keys
    // not there and most undos do: the registry takes them without a copy.
    const std::vector<platform::RegValueChange>* everyValue = nullptr;
};

// The value whose present state the registry cannot tell; or, with `wide`,
// whose text the registry cannot hold: the characters the code page lacks.
struct PlanFault {
    platform::RegKeyPath key;
    std::string name;
    platform::RegFault error = platform::RegError::StoreBroken;
    struct Wide {
        WideTextSource source;
        std::u32string characters;
    };
    std::optional<Wide> wide;
};

// The plan refers to `changes`, which must outlive it: not to a temporary.
// A value in the wide form is refused by a registry that does not hold wide
// text (IRegistry::HoldsWideText), before anything is backed up.
platform::Result<ChangePlan, PlanFault> PlanChanges(platform::IRegistry& registry, const ChangeSet& changes);
platform::Result<ChangePlan, PlanFault> PlanChanges(platform::IRegistry& registry, ChangeSet&& changes) = delete;

// The bytes of the backup that restores what the plan replaces: each value
// as it is now ("name"=- for one that is not there), and a comment line for
// each key the plan creates; handed to `write` in pieces as they are made
// (backup::WriteGroupedBytes), read from the plan where they are.
void WritePlanBackup(const ChangePlan& plan, const platform::WritePiece& write);

// Whether the registry would apply the plan, as far as it can tell without
// applying it (IRegistry::CheckChanges).
platform::RegResult CheckPlan(platform::IRegistry& registry, const ChangePlan& plan);

platform::RegResult ApplyPlan(platform::IRegistry& registry, const ChangePlan& plan);

} // namespace changes
