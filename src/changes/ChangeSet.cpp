#include "changes/ChangeSet.h"

#include "platform/RegNames.h"
#include "platform/SystemText.h"

#include <algorithm>
#include <map>
#include <set>
#include <string_view>

namespace {

bool Writable(tk::RegRoot root)
{
    return root == tk::RegRoot::CurrentUser || root == tk::RegRoot::LocalMachine;
}

std::size_t Depth(const tk::RegKeyPath& key)
{
    const auto names = tk::SplitKeyPath(key.subKey);
    return names ? names->size() : 0;
}

// The characters of UTF-16LE text that the code page lacks.
std::u32string CharactersBeyondCodePage(const std::vector<std::uint8_t>& wide)
{
    return tk::FromUtf16(tk::DecodeUtf16Le(wide)).foreign;
}

// Collects values, a later one for the same value replacing the data of the
// earlier one in its place, and keys to remove when empty.
class Collector {
public:
    // `values`: about how many values there will be.
    explicit Collector(std::size_t values = 0) { set_.values.reserve(values); }

    void Value(tk::RegValueChange change, const WideTextSource* source)
    {
        const std::string identity = tk::KeyIdentity(change.key) + '\n' + tk::FoldedName(change.name);
        const auto [at, fresh] = index_.emplace(identity, set_.values.size());
        const std::size_t place = at->second;
        if (fresh) {
            set_.values.push_back(std::move(change));
        } else {
            set_.values[place].value = std::move(change.value);
            set_.values[place].utf16 = change.utf16;
        }
        set_.wideSources.erase(place);
        if (source)
            set_.wideSources[place] = *source;
    }

    void EmptyKey(const tk::RegKeyPath& key)
    {
        if (keys_.emplace(tk::KeyIdentity(key)).second)
            set_.emptyKeys.push_back(key);
    }

    ChangeSet Take()
    {
        std::stable_sort(set_.emptyKeys.begin(), set_.emptyKeys.end(),
                         [](const tk::RegKeyPath& a, const tk::RegKeyPath& b) { return Depth(a) > Depth(b); });
        return std::move(set_);
    }

private:
    ChangeSet set_;
    std::map<std::string, std::size_t> index_;
    std::set<std::string> keys_;
};

// The key that a comment line says the change created, below a root the
// program writes.
std::optional<tk::RegKeyPath> CreatedKey(std::string_view comment)
{
    std::optional<tk::RegKeyPath> key = backup::CreatedKeyOf(comment);
    if (key && !Writable(key->root))
        return std::nullopt;
    return key;
}

std::vector<tk::RegKeyPath> CreatedKeys(const tk::RegFileDocument& backup)
{
    std::vector<tk::RegKeyPath> keys;
    const auto scan = [&keys](const std::vector<std::string>& comments) {
        for (const std::string& comment : comments)
            if (auto key = CreatedKey(comment))
                keys.push_back(std::move(*key));
    };
    for (const tk::RegFileSection& section : backup.sections) {
        scan(section.comments);
        for (const tk::RegFileValueLine& value : section.values)
            scan(value.comments);
        if (section.deleteKey && Writable(section.root))
            keys.push_back({section.root, section.subKey});
    }
    scan(backup.closingComments);
    return keys;
}

// The created key, and each key from the backup's keys below it up to it.
void AddEmptyKeys(Collector& collector, const tk::RegFileDocument& backup, const tk::RegKeyPath& created)
{
    const std::string top = tk::KeyIdentity(created);
    const std::size_t topDepth = Depth(created);
    collector.EmptyKey({created.root, tk::JoinedKeyNames(*tk::SplitKeyPath(created.subKey), topDepth)});
    for (const tk::RegFileSection& section : backup.sections) {
        const tk::RegKeyPath key{section.root, section.subKey};
        const std::string identity = tk::KeyIdentity(key);
        if (section.deleteKey || (identity != top && !tk::IsBelow(identity, top)))
            continue;
        const auto names = tk::SplitKeyPath(section.subKey);
        for (std::size_t depth = names->size(); depth > topDepth; --depth)
            collector.EmptyKey({section.root, tk::JoinedKeyNames(*names, depth)});
    }
}

tk::Result<ChangeSet, ChangeFileFault> Changes(const tk::RegFileDocument& document, bool backup,
                                               const std::string& path)
{
    std::size_t lines = 0;
    for (const tk::RegFileSection& section : document.sections)
        lines += section.values.size();
    Collector collector(lines);
    for (const tk::RegFileSection& section : document.sections) {
        const std::string written = std::string(tk::RootName(section.root)) +
                                    (section.subKey.empty() ? "" : "\\" + section.subKey);
        if (!Writable(section.root))
            return ChangeFileFault{ChangeFileFault::Kind::OtherRoot, section.line, written};
        if (section.deleteKey && !backup)
            return ChangeFileFault{ChangeFileFault::Kind::RemovesKey, section.line, written};
        for (const tk::RegFileValueLine& line : section.values) {
            const WideTextSource source{path, line.line};
            collector.Value({{section.root, section.subKey}, line.name, line.value, line.utf16},
                            line.utf16 ? &source : nullptr);
        }
    }
    if (backup)
        for (const tk::RegKeyPath& created : CreatedKeys(document))
            AddEmptyKeys(collector, document, created);
    return collector.Take();
}

} // namespace

tk::Result<ChangeSet, ChangeFileFault> BackupChanges(const tk::RegFileDocument& backup, const std::string& path)
{
    return Changes(backup, true, path);
}

tk::Result<ChangeSet, ChangeFileFault> ProfileChanges(const tk::RegFileDocument& profile, const std::string& path)
{
    return Changes(profile, false, path);
}

ChangeSet UndoChanges(const std::vector<ChangeSet>& newestFirst)
{
    Collector collector;
    for (const ChangeSet& set : newestFirst) {
        for (std::size_t i = 0; i < set.values.size(); ++i) {
            const auto source = set.wideSources.find(i);
            collector.Value(set.values[i], source == set.wideSources.end() ? nullptr : &source->second);
        }
        for (const tk::RegKeyPath& key : set.emptyKeys)
            collector.EmptyKey(key);
    }
    return collector.Take();
}

tk::Result<ChangePlan, PlanFault> PlanChanges(tk::IRegistry& registry, const ChangeSet& changes)
{
    ChangePlan plan;
    plan.emptyKeys = changes.emptyKeys;
    // A value already as wanted drops out; growing by doubling would hold up
    // to twice the values for a plan that changes most of them.
    plan.values.reserve(changes.values.size());
    for (std::size_t i = 0; i < changes.values.size(); ++i) {
        const tk::RegValueChange& change = changes.values[i];
        const tk::RegKeyPath& key = change.key;
        if (change.utf16 && !registry.HoldsWideText()) {
            const auto source = changes.wideSources.find(i);
            return PlanFault{key, change.name, tk::RegError::WriteFailed,
                             PlanFault::Wide{source == changes.wideSources.end() ? WideTextSource{} : source->second,
                                             CharactersBeyondCodePage(change.value->data)}};
        }
        auto now = registry.QueryExactValue(key.root, key.subKey, change.name);
        PlannedValue planned{change, std::nullopt, std::nullopt};
        if (now) {
            const tk::ExactRegValue& held = now.Value();
            if (change.value && held.utf16 == change.utf16 && held.value == *change.value)
                continue;
            planned.before = std::move(now.Value());
        } else if (now.Error() == tk::RegError::ValueNotFound || now.Error() == tk::RegError::KeyNotFound) {
            if (!change.value)
                continue;
            if (now.Error() == tk::RegError::KeyNotFound) {
                auto missing = tk::FirstMissingKey(registry, key);
                if (!missing)
                    return PlanFault{key, change.name, missing.Error(), std::nullopt};
                planned.createdKey = std::move(missing.Value());
            }
        } else {
            return PlanFault{key, change.name, now.Error(), std::nullopt};
        }
        plan.values.push_back(std::move(planned));
    }
    return plan;
}

std::string PlanBackupBytes(const ChangePlan& plan)
{
    std::vector<backup::FileValue> values;
    std::vector<std::string> created;
    std::set<std::string> named;
    for (const PlannedValue& v : plan.values) {
        values.push_back({v.change.key, v.change.name, v.before, {}});
        if (v.createdKey && named.insert(tk::KeyIdentity(*v.createdKey)).second)
            created.push_back(backup::KeyText(*v.createdKey));
    }
    return backup::FileBytes(values, created, backup::Layout::Grouped);
}

namespace {

std::vector<tk::RegValueChange> PlannedChanges(const ChangePlan& plan)
{
    std::vector<tk::RegValueChange> values;
    values.reserve(plan.values.size());
    for (const PlannedValue& v : plan.values)
        values.push_back(v.change);
    return values;
}

} // namespace

tk::RegResult CheckPlan(tk::IRegistry& registry, const ChangePlan& plan)
{
    return registry.CheckChanges(PlannedChanges(plan), plan.emptyKeys);
}

tk::RegResult ApplyPlan(tk::IRegistry& registry, const ChangePlan& plan)
{
    return registry.ApplyChanges(PlannedChanges(plan), plan.emptyKeys);
}
