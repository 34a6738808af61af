#include "platform/Registry.h"

#include "platform/RegNames.h"

namespace platform {

namespace {

// What one applied change found before it, so that it can be put back.
struct Applied {
    const RegValueChange* change = nullptr;
    std::optional<ExactRegValue> before;
    // The outermost key that its write made.
    std::optional<RegKeyPath> made;
};

RegResult SetExact(IRegistry& registry, const RegKeyPath& key, std::string_view name, const RegValue& value,
                   bool utf16)
{
    return utf16 ? registry.SetWideValue(key.root, key.subKey, name, value)
                 : registry.SetValue(key.root, key.subKey, name, value);
}

// Puts back, newest first, what the changes found, and removes the keys
// their writes made; as far as the registry lets it.
void PutBack(IRegistry& registry, const std::vector<Applied>& applied)
{
    for (auto done = applied.rbegin(); done != applied.rend(); ++done) {
        const RegValueChange& change = *done->change;
        if (done->before)
            static_cast<void>(SetExact(registry, *change.key, change.name, done->before->value, done->before->utf16));
        else
            static_cast<void>(registry.DeleteValue(change.key->root, change.key->subKey, change.name));
        if (!done->made)
            continue;
        const auto names = SplitKeyPath(change.key->subKey);
        const std::size_t outermost = SplitKeyPath(done->made->subKey)->size();
        for (std::size_t depth = names->size(); depth >= outermost && depth > 0; --depth)
            static_cast<void>(registry.DeleteEmptyKey(change.key->root, JoinedKeyNames(*names, depth)));
    }
}

} // namespace

RegValue RegValue::String(std::string_view text)
{
    RegValue v;
    v.type = RegType::Sz;
    v.data.reserve(text.size() + 1);
    v.data.assign(text.begin(), text.end());
    v.data.push_back(0);
    return v;
}

RegValue RegValue::Dword(std::uint32_t value)
{
    RegValue v;
    v.type = RegType::Dword;
    v.data = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
              static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    return v;
}

Result<ExactRegValue, RegFault> IRegistry::QueryExactValue(RegRoot root, std::string_view subKey,
                                                           std::string_view name)
{
    auto value = QueryValue(root, subKey, name);
    if (!value)
        return value.Error();
    return ExactRegValue{std::move(value.Value()), false};
}

bool IRegistry::HoldsWideText() const
{
    return false;
}

RegResult IRegistry::SetWideValue(RegRoot, std::string_view, std::string_view, const RegValue&)
{
    return RegFault(RegError::WriteFailed);
}

Result<std::optional<RegKeyPath>, RegFault> FirstMissingKey(IRegistry& registry, const RegKeyPath& key)
{
    const auto names = SplitKeyPath(key.subKey);
    if (!names)
        return RegError::BadKeyPath;
    for (std::size_t depth = 1; depth <= names->size(); ++depth) {
        const auto probe = registry.QueryValue(key.root, JoinedKeyNames(*names, depth), {});
        if (!probe && probe.Error() == RegError::KeyNotFound)
            return std::optional<RegKeyPath>(RegKeyPath{key.root, JoinedKeyNames(*names, depth)});
        if (!probe && probe.Error() != RegError::ValueNotFound)
            return probe.Error();
    }
    return std::optional<RegKeyPath>();
}

RegResult IRegistry::ApplyChanges(const std::vector<RegValueChange>& values, const std::vector<RegKeyPath>& emptyKeys)
{
    std::vector<Applied> applied;
    const auto fail = [&](RegFault fault) {
        PutBack(*this, applied);
        return RegResult(std::move(fault));
    };
    for (const RegValueChange& change : values) {
        const RegKeyPath& key = *change.key;
        auto before = QueryExactValue(key.root, key.subKey, change.name);
        if (!before && before.Error() != RegError::ValueNotFound && before.Error() != RegError::KeyNotFound)
            return fail(before.Error());
        if (!before && !change.value)
            continue;
        Applied done{&change, std::nullopt, std::nullopt};
        if (before) {
            done.before = std::move(before.Value());
        } else if (before.Error() == RegError::KeyNotFound) {
            auto missing = FirstMissingKey(*this, key);
            if (!missing)
                return fail(missing.Error());
            done.made = std::move(missing.Value());
        }
        const RegResult result = change.value ? SetExact(*this, key, change.name, *change.value, change.utf16)
                                              : DeleteValue(key.root, key.subKey, change.name);
        if (!result)
            return fail(result.Error());
        applied.push_back(std::move(done));
    }
    for (const RegKeyPath& key : emptyKeys)
        if (const auto removed = DeleteEmptyKey(key.root, key.subKey); !removed)
            return fail(removed.Error());
    return {};
}

RegResult IRegistry::CheckChanges(const std::vector<RegValueChange>&, const std::vector<RegKeyPath>&)
{
    return {};
}

void IRegistry::Exclusively(const std::function<void()>& work)
{
    work();
}

void IRegistry::AsOneVersion(const std::function<void()>& work)
{
    work();
}

} // namespace platform
