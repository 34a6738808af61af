#include "changes/ChangeSet.h"

#include "platform/CaseFold.h"
#include "platform/RegNames.h"
#include "platform/SystemText.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace changes {

namespace {

bool Writable(platform::RegRoot root)
{
    return root == platform::RegRoot::CurrentUser || root == platform::RegRoot::LocalMachine;
}

std::size_t Depth(const platform::RegKeyPath& key)
{
    const auto names = platform::SplitKeyPath(key.subKey);
    return names ? names->size() : 0;
}

// The characters of UTF-16LE text that the code page lacks.
std::u32string CharactersBeyondCodePage(const std::vector<std::uint8_t>& wide)
{
    return platform::FromUtf16(platform::DecodeUtf16Le(wide)).foreign;
}

// Collects values, a later one for the same value replacing the data of the
// earlier one in its place, and keys to remove when empty. A value is found
// again by its key's number (one per key identity, however it is spelled)
// and its name folded on the fly: no text is made for each value.
class Collector {
public:
    // `values`: about how many values there will be.
    explicit Collector(std::size_t values = 0) { Reserve(values); }

    // Before the first value.
    void Reserve(std::size_t values)
    {
        set_.values.reserve(values);
        Rehash(values);
    }

    // The number of the key, the same for every spelling of it.
    std::uint32_t KeyNumber(const platform::RegKeyPath& key)
    {
        return keyNumbers_.emplace(platform::KeyIdentity(key), static_cast<std::uint32_t>(keyNumbers_.size()))
            .first->second;
    }

    void Value(platform::RegValueChange change, std::uint32_t key, const WideTextSource* source)
    {
        std::size_t slot = Hash(key, change.Name()) & (slots_.size() - 1);
        for (; slots_[slot].place != 0; slot = (slot + 1) & (slots_.size() - 1)) {
            const std::size_t place = slots_[slot].place - 1;
            if (slots_[slot].key == key && platform::EqualNoCase(set_.values[place].Name(), change.Name())) {
                set_.values[place].TakeValueOf(change);
                Source(place, source);
                return;
            }
        }
        const std::size_t place = set_.values.size();
        slots_[slot] = {static_cast<std::uint32_t>(place + 1), key};
        set_.values.push_back(std::move(change));
        Source(place, source);
        if (2 * set_.values.size() > slots_.size())
            Rehash(set_.values.size());
    }

    void EmptyKey(const platform::RegKeyPath& key)
    {
        if (keys_.emplace(platform::KeyIdentity(key)).second)
            set_.emptyKeys.push_back(key);
    }

    ChangeSet Take()
    {
        std::stable_sort(set_.emptyKeys.begin(), set_.emptyKeys.end(),
                         [](const platform::RegKeyPath& a, const platform::RegKeyPath& b) { return Depth(a) > Depth(b); });
        return std::move(set_);
    }

private:
    static std::size_t Hash(std::uint32_t key, std::string_view name)
    {
        std::size_t hash = 14695981039346656037u ^ key;
        for (const char c : name)
            hash = (hash ^ platform::FoldedByte(c)) * 1099511628211u;
        return hash ^ hash >> 29;
    }

    // Room for more than twice `values`, so that a probe ends soon.
    void Rehash(std::size_t values)
    {
        std::size_t size = 16;
        while (size < 2 * values + 1)
            size *= 2;
        std::vector<Slot> slots(size);
        for (const Slot& taken : slots_) {
            if (taken.place == 0)
                continue;
            std::size_t slot = Hash(taken.key, set_.values[taken.place - 1].Name()) & (size - 1);
            while (slots[slot].place != 0)
                slot = (slot + 1) & (size - 1);
            slots[slot] = taken;
        }
        slots_ = std::move(slots);
    }

    void Source(std::size_t place, const WideTextSource* source)
    {
        set_.wideSources.erase(place);
        if (source)
            set_.wideSources[place] = *source;
    }

    ChangeSet set_;
    std::map<std::string, std::uint32_t> keyNumbers_;
    // A value's place + 1 (0 for none) and its key's number, side by side:
    // one block, which the plan made after the set fits into once it is free.
    struct Slot {
        std::uint32_t place = 0;
        std::uint32_t key = 0;
    };
    std::vector<Slot> slots_;
    std::set<std::string> keys_;
};

// The key that a comment line says the change created, below a root the
// program writes.
std::optional<platform::RegKeyPath> CreatedKey(std::string_view comment)
{
    std::optional<platform::RegKeyPath> key = backup::CreatedKeyOf(comment);
    if (key && !Writable(key->root))
        return std::nullopt;
    return key;
}

// The created key, and each key from the backup's keys below it up to it.
void AddEmptyKeys(Collector& collector, const std::vector<regfile::RegFileSection>& sections, const platform::RegKeyPath& created)
{
    const std::string top = platform::KeyIdentity(created);
    const std::size_t topDepth = Depth(created);
    collector.EmptyKey({created.root, platform::JoinedKeyNames(*platform::SplitKeyPath(created.subKey), topDepth)});
    for (const regfile::RegFileSection& section : sections) {
        const platform::RegKeyPath key{section.root, section.subKey};
        const std::string identity = platform::KeyIdentity(key);
        if (section.deleteKey || (identity != top && !platform::IsBelow(identity, top)))
            continue;
        const auto names = platform::SplitKeyPath(section.subKey);
        for (std::size_t depth = names->size(); depth > topDepth; --depth)
            collector.EmptyKey({section.root, platform::JoinedKeyNames(*names, depth)});
    }
}

} // namespace

struct ChangeSetReader::State {
    bool backup = false;
    std::string path;
    Collector collector;
    std::optional<ChangeFileFault> fault;
    // A backup's: the keys its change created, and its sections without
    // their values, for the keys between them.
    std::vector<platform::RegKeyPath> created;
    std::vector<regfile::RegFileSection> sections;

    void ScanCreated(const std::vector<std::string>& comments)
    {
        for (const std::string& comment : comments)
            if (auto key = CreatedKey(comment))
                created.push_back(std::move(*key));
    }
};

ChangeSetReader::ChangeSetReader(bool backup, std::string path)
    : state_(std::make_unique<State>())
{
    state_->backup = backup;
    state_->path = std::move(path);
}

ChangeSetReader::~ChangeSetReader() = default;

void ChangeSetReader::Expect(std::size_t valueLines)
{
    state_->collector.Reserve(valueLines);
}

void ChangeSetReader::Section(regfile::RegFileSection section)
{
    State& state = *state_;
    if (state.fault)
        return;
    const bool backup = state.backup;
    if (!Writable(section.root) || (section.deleteKey && !backup)) {
        const std::string written = std::string(platform::RootName(section.root)) +
                                    (section.subKey.empty() ? "" : "\\" + section.subKey);
        const auto kind = Writable(section.root) ? ChangeFileFault::Kind::RemovesKey : ChangeFileFault::Kind::OtherRoot;
        state.fault = ChangeFileFault{kind, section.line, written};
        return;
    }
    if (backup) {
        state.ScanCreated(section.comments);
        for (const regfile::RegFileValueLine& line : section.values)
            state.ScanCreated(line.comments);
        if (section.deleteKey)
            state.created.push_back({section.root, section.subKey});
    }
    if (!section.values.empty()) {
        const platform::SharedKeyPath key = platform::ShareKey({section.root, section.subKey});
        const std::uint32_t number = state.collector.KeyNumber(*key);
        for (regfile::RegFileValueLine& line : section.values) {
            const WideTextSource source{state.path, line.line};
            state.collector.Value({key, line.name, line.value, line.utf16}, number,
                                  line.utf16 ? &source : nullptr);
        }
    }
    if (backup) {
        std::vector<regfile::RegFileValueLine>().swap(section.values);
        std::vector<std::string>().swap(section.comments);
        state.sections.push_back(std::move(section));
    }
}

void ChangeSetReader::Closing(std::vector<std::string> comments)
{
    if (state_->backup && !state_->fault)
        state_->ScanCreated(comments);
}

platform::Result<ChangeSet, ChangeFileFault> ChangeSetReader::Take()
{
    State& state = *state_;
    if (state.fault)
        return *state.fault;
    for (const platform::RegKeyPath& key : state.created)
        AddEmptyKeys(state.collector, state.sections, key);
    return state.collector.Take();
}

namespace {

// A parsed document's sections handed over as a parse hands them.
platform::Result<ChangeSet, ChangeFileFault> Changes(regfile::RegFileDocument document, bool backup, const std::string& path)
{
    std::size_t lines = 0;
    for (const regfile::RegFileSection& section : document.sections)
        lines += section.values.size();
    ChangeSetReader reader(backup, path);
    reader.Expect(lines);
    for (regfile::RegFileSection& section : document.sections)
        reader.Section(std::move(section));
    reader.Closing(std::move(document.closingComments));
    return reader.Take();
}

} // namespace

platform::Result<ChangeSet, ChangeFileFault> BackupChanges(regfile::RegFileDocument backup, const std::string& path)
{
    return Changes(std::move(backup), true, path);
}

platform::Result<ChangeSet, ChangeFileFault> ProfileChanges(regfile::RegFileDocument profile, const std::string& path)
{
    return Changes(std::move(profile), false, path);
}

ChangeSet UndoChanges(std::vector<ChangeSet> newestFirst)
{
    std::size_t values = 0;
    for (const ChangeSet& set : newestFirst)
        values += set.values.size();
    Collector collector(values);
    for (ChangeSet& set : newestFirst) {
        // The values of a key are next to each other: its number is looked up once.
        const platform::RegKeyPath* key = nullptr;
        std::uint32_t number = 0;
        for (std::size_t i = 0; i < set.values.size(); ++i) {
            if (set.values[i].Key().get() != key) {
                key = set.values[i].Key().get();
                number = collector.KeyNumber(*key);
            }
            const auto source = set.wideSources.find(i);
            collector.Value(std::move(set.values[i]), number,
                            source == set.wideSources.end() ? nullptr : &source->second);
        }
        for (const platform::RegKeyPath& key : set.emptyKeys)
            collector.EmptyKey(key);
        set = ChangeSet();
    }
    return collector.Take();
}

PlannedValue::PlannedValue(const platform::RegValueChange& change, std::unique_ptr<const platform::ExactRegValue> before)
    : change_(&change), now_(reinterpret_cast<std::uintptr_t>(before.release()))
{
}

PlannedValue::PlannedValue(const platform::RegValueChange& change, const platform::RegKeyPath& createdKey)
    : change_(&change), now_(reinterpret_cast<std::uintptr_t>(&createdKey) | kCreatedKey)
{
    static_assert(alignof(platform::RegKeyPath) > kCreatedKey && alignof(platform::ExactRegValue) > kCreatedKey);
}

PlannedValue::PlannedValue(PlannedValue&& other) noexcept : change_(other.change_), now_(std::exchange(other.now_, 0))
{
}

PlannedValue::~PlannedValue()
{
    delete Held();
}

const platform::ExactRegValue* PlannedValue::Held() const
{
    return (now_ & kCreatedKey) != 0 ? nullptr : reinterpret_cast<const platform::ExactRegValue*>(now_);
}

const platform::RegKeyPath* PlannedValue::CreatedKey() const
{
    return (now_ & kCreatedKey) != 0 ? reinterpret_cast<const platform::RegKeyPath*>(now_ & ~kCreatedKey) : nullptr;
}

platform::Result<ChangePlan, PlanFault> PlanChanges(platform::IRegistry& registry, const ChangeSet& changes)
{
    ChangePlan plan;
    plan.emptyKeys = changes.emptyKeys;
    // A value already as wanted drops out; growing by doubling would hold up
    // to twice the values for a plan that changes most of them.
    plan.values.reserve(changes.values.size());
    // The key each missing key's write creates, asked once for all its values,
    // and named once however many keys below it are missing.
    std::unordered_map<const platform::RegKeyPath*, const platform::RegKeyPath*> created;
    std::unordered_map<std::string, const platform::RegKeyPath*> createdByIdentity;
    for (std::size_t i = 0; i < changes.values.size(); ++i) {
        const platform::RegValueChange& change = changes.values[i];
        const platform::RegKeyPath& key = *change.Key();
        if (change.Utf16() && !registry.HoldsWideText()) {
            const auto source = changes.wideSources.find(i);
            return PlanFault{key, std::string(change.Name()), platform::RegError::WriteFailed,
                             PlanFault::Wide{source == changes.wideSources.end() ? WideTextSource{} : source->second,
                                             CharactersBeyondCodePage(change.Value()->data)}};
        }
        auto now = registry.QueryExactValue(key.root, key.subKey, change.Name());
        if (now) {
            const platform::ExactRegValue& held = now.Value();
            if (held.utf16 == change.Utf16() && change.Sets(held.value))
                continue;
            plan.values.emplace_back(change, std::make_unique<const platform::ExactRegValue>(std::move(now.Value())));
        } else if (now.Error() == platform::RegError::ValueNotFound || now.Error() == platform::RegError::KeyNotFound) {
            if (!change.HasValue())
                continue;
            const platform::RegKeyPath* createdKey = nullptr;
            if (now.Error() == platform::RegError::KeyNotFound) {
                auto [at, fresh] = created.try_emplace(&key, nullptr);
                if (fresh) {
                    auto missing = platform::FirstMissingKey(registry, key);
                    if (!missing)
                        return PlanFault{key, std::string(change.Name()), missing.Error(), std::nullopt};
                    if (missing.Value()) {
                        auto [named, first] = createdByIdentity.try_emplace(platform::KeyIdentity(*missing.Value()), nullptr);
                        if (first) {
                            plan.createdKeys.push_back(std::make_unique<const platform::RegKeyPath>(std::move(*missing.Value())));
                            named->second = plan.createdKeys.back().get();
                        }
                        at->second = named->second;
                    }
                }
                createdKey = at->second;
            }
            if (createdKey)
                plan.values.emplace_back(change, *createdKey);
            else
                plan.values.emplace_back(change, nullptr);
        } else {
            return PlanFault{key, std::string(change.Name()), now.Error(), std::nullopt};
        }
    }
    if (plan.values.size() == changes.values.size())
        plan.everyValue = &changes.values;
    return plan;
}

namespace {

// The plan's values as the backup reads them: where they are.
class PlannedBackupValues final : public backup::FileValues {
public:
    explicit PlannedBackupValues(const ChangePlan& plan) : plan_(plan) {}
    std::size_t Count() const override { return plan_.values.size(); }
    backup::FileValueView At(std::size_t place) const override
    {
        const PlannedValue& v = plan_.values[place];
        return {v.Change().Key().get(), v.Change().Name(), v.Held(), nullptr};
    }

private:
    const ChangePlan& plan_;
};

} // namespace

void WritePlanBackup(const ChangePlan& plan, const platform::WritePiece& write)
{
    std::vector<std::string> created;
    for (const auto& key : plan.createdKeys)
        created.push_back(backup::KeyText(*key));
    backup::WriteGroupedBytes(PlannedBackupValues(plan), created, {}, write);
}

namespace {

std::vector<platform::RegValueChange> PlannedChanges(const ChangePlan& plan)
{
    std::vector<platform::RegValueChange> values;
    values.reserve(plan.values.size());
    for (const PlannedValue& v : plan.values)
        values.push_back(v.Change());
    return values;
}

} // namespace

platform::RegResult CheckPlan(platform::IRegistry& registry, const ChangePlan& plan)
{
    if (plan.everyValue)
        return registry.CheckChanges(*plan.everyValue, plan.emptyKeys);
    return registry.CheckChanges(PlannedChanges(plan), plan.emptyKeys);
}

platform::RegResult ApplyPlan(platform::IRegistry& registry, const ChangePlan& plan)
{
    if (plan.everyValue)
        return registry.ApplyChanges(*plan.everyValue, plan.emptyKeys);
    return registry.ApplyChanges(PlannedChanges(plan), plan.emptyKeys);
}

} // namespace changes
