#include "platform/Registry.h"

#include "platform/RegNames.h"

#include <algorithm>
#include <cstring>
#include <utility>

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
            static_cast<void>(SetExact(registry, *change.Key(), change.Name(), done->before->value, done->before->utf16));
        else
            static_cast<void>(registry.DeleteValue(change.Key()->root, change.Key()->subKey, change.Name()));
        if (!done->made)
            continue;
        const auto names = SplitKeyPath(change.Key()->subKey);
        const std::size_t outermost = SplitKeyPath(done->made->subKey)->size();
        for (std::size_t depth = names->size(); depth >= outermost && depth > 0; --depth)
            static_cast<void>(registry.DeleteEmptyKey(change.Key()->root, JoinedKeyNames(*names, depth)));
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

namespace {

std::string_view BytesOf(const std::vector<std::uint8_t>& data)
{
    return {reinterpret_cast<const char*>(data.data()), data.size()};
}

static_assert(sizeof(RegValueChange) <= 40, "a large profile holds one change for each of its values");

} // namespace

RegValueChange::RegValueChange(SharedKeyPath key, std::string_view name, const std::optional<RegValue>& value,
                               bool utf16)
    : key_(std::move(key)), hasValue_(value.has_value()), utf16_(utf16), type_(value ? value->type : RegType::None)
{
    Fill(name, value ? BytesOf(value->data) : std::string_view());
}

RegValueChange::RegValueChange(const RegValueChange& other)
    : key_(other.key_), hasValue_(other.hasValue_), utf16_(other.utf16_), type_(other.type_)
{
    Fill(other.Name(), other.Data());
}

RegValueChange::RegValueChange(RegValueChange&& other) noexcept
    : key_(std::move(other.key_)), hasValue_(other.hasValue_), utf16_(other.utf16_), type_(other.type_)
{
    other.hasValue_ = false;
    other.utf16_ = false;
    TakeBytes(other);
}

RegValueChange& RegValueChange::operator=(RegValueChange&& other) noexcept
{
    if (this != &other) {
        key_ = std::move(other.key_);
        type_ = other.type_;
        hasValue_ = other.hasValue_;
        utf16_ = other.utf16_;
        other.hasValue_ = false;
        other.utf16_ = false;
        Release();
        TakeBytes(other);
    }
    return *this;
}

RegValueChange& RegValueChange::operator=(const RegValueChange& other)
{
    if (this != &other)
        *this = RegValueChange(other);
    return *this;
}

RegValueChange::~RegValueChange()
{
    Release();
}

const char* RegValueChange::Bytes() const
{
    if (Fits(std::size_t{nameSize_} + dataSize_))
        return room_;
    const char* buffer = nullptr;
    std::memcpy(&buffer, room_, sizeof buffer);
    return buffer;
}

void RegValueChange::Release()
{
    if (!Fits(std::size_t{nameSize_} + dataSize_))
        delete[] Bytes();
    nameSize_ = 0;
    dataSize_ = 0;
}

void RegValueChange::TakeBytes(RegValueChange& other)
{
    std::memcpy(room_, other.room_, kRoom);
    nameSize_ = std::exchange(other.nameSize_, 0);
    dataSize_ = std::exchange(other.dataSize_, 0);
}

void RegValueChange::Fill(std::string_view name, std::string_view data)
{
    // Made before the old bytes go: `name` may lie in them.
    char room[kRoom];
    char* bytes = room;
    if (!Fits(name.size() + data.size()))
        bytes = new char[name.size() + data.size()];
    std::copy(name.begin(), name.end(), bytes);
    std::copy(data.begin(), data.end(), bytes + name.size());
    Release();
    if (bytes == room)
        std::memcpy(room_, room, kRoom);
    else
        std::memcpy(room_, &bytes, sizeof bytes);
    nameSize_ = static_cast<std::uint32_t>(name.size());
    dataSize_ = static_cast<std::uint32_t>(data.size());
}

std::optional<RegValue> RegValueChange::Value() const
{
    if (!hasValue_)
        return std::nullopt;
    const std::string_view data = Data();
    return RegValue{type_, std::vector<std::uint8_t>(data.begin(), data.end())};
}

bool RegValueChange::Sets(const RegValue& value) const
{
    return hasValue_ && type_ == value.type && Data() == BytesOf(value.data);
}

bool RegValueChange::SetsAs(const RegValueChange& other) const
{
    return hasValue_ == other.hasValue_ && (!hasValue_ || (type_ == other.type_ && Data() == other.Data()));
}

void RegValueChange::TakeValueOf(const RegValueChange& later)
{
    type_ = later.type_;
    hasValue_ = later.hasValue_;
    utf16_ = later.utf16_;
    Fill(Name(), later.Data());
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
        const RegKeyPath& key = *change.Key();
        auto before = QueryExactValue(key.root, key.subKey, change.Name());
        if (!before && before.Error() != RegError::ValueNotFound && before.Error() != RegError::KeyNotFound)
            return fail(before.Error());
        if (!before && !change.HasValue())
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
        const RegResult result = change.HasValue()
                                     ? SetExact(*this, key, change.Name(), *change.Value(), change.Utf16())
                                     : DeleteValue(key.root, key.subKey, change.Name());
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

void IRegistry::ReadAhead(const std::vector<RegValueRef>&)
{
}

} // namespace platform
