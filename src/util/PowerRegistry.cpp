#include "util/PowerClass.h"

#include "platform/Exceptions.h"
#include "util/Texts.h"
#include "platform/Registry.h"
#include "platform/Services.h"

#include <algorithm>
#include <optional>

namespace util {

namespace {

// What a string read shows when the key path names no root or no key below
// it. The trailing blank belongs to the text.
const char* const kKeyNotFoundText = "Registry key was not found :-( ";
const char* const kNotAStringText = "No REG_SZ";

std::optional<platform::RegKeyPath> Resolve(RegistryLocation location, const std::string& keyPath)
{
    if (location == RegistryLocation::LocalMachine)
        return platform::RegKeyPath{platform::RegRoot::LocalMachine, keyPath};
    return PowerClass::ResolvePathForm(keyPath);
}

// A missing service counts as a key that cannot be opened, and a file fault
// of the service (its exceptions) as a broken store.
template <class T>
platform::Result<T, platform::RegFault> Ask(const platform::RegKeyPath& key, const std::string& name,
                                platform::Result<T, platform::RegFault> (platform::IRegistry::*read)(platform::RegRoot, std::string_view,
                                                                                  std::string_view))
{
    platform::IRegistry* registry = platform::CurrentServices().registry;
    if (registry == nullptr)
        return platform::RegError::KeyNotFound;
    try {
        return (registry->*read)(key.root, key.subKey, name);
    } catch (const platform::CException& e) {
        return platform::RegFault(platform::RegError::StoreBroken, e.what());
    }
}

platform::Result<platform::RegValue, platform::RegFault> Query(const platform::RegKeyPath& key, const std::string& name)
{
    return Ask(key, name, &platform::IRegistry::QueryValue);
}

// A change: the registry's result, or the fault that kept it from trying.
template <class Operation>
platform::RegResult Change(const std::optional<platform::RegKeyPath>& key, const Operation& operation)
{
    if (!key)
        return platform::RegFault(platform::RegError::BadKeyPath, platform::Text(text::KeyPathNamesNoRoot));
    platform::IRegistry* registry = platform::CurrentServices().registry;
    if (registry == nullptr)
        return platform::RegFault(platform::RegError::WriteFailed, platform::Text(text::NoRegistry));
    try {
        return operation(*registry, *key);
    } catch (const platform::CException& e) {
        return platform::RegFault(platform::RegError::WriteFailed, e.what());
    }
}

// Whether the value a write replaces is a REG_EXPAND_SZ; one that cannot be
// read is none.
bool IsExpandable(platform::IRegistry& registry, const platform::RegKeyPath& key, const std::string& name)
{
    const auto value = registry.QueryValue(key.root, key.subKey, name);
    return value && value.Value().type == platform::RegType::ExpandSz;
}

// The fault of a read that the user must hear of: the registry cannot be
// read at all. A key or value that is not there, or may not be read, is only
// shown as the fixed text or number in its place.
std::optional<platform::RegFault> BrokenRegistry(const platform::Result<platform::RegValue, platform::RegFault>& value)
{
    if (value || !(value.Error() == platform::RegError::StoreBroken))
        return std::nullopt;
    return value.Error();
}

// A string read of the value, once its key path names a key below a root.
RegReading<std::string> StringReading(const platform::Result<platform::RegValue, platform::RegFault>& value)
{
    if (!value || value.Value().data.empty())
        return {std::string(), BrokenRegistry(value)};
    // An expandable text is shown as stored, its %VARIABLES% unexpanded, so
    // that saving it back keeps them.
    if (value.Value().type != platform::RegType::Sz && value.Value().type != platform::RegType::ExpandSz)
        return {kNotAStringText, std::nullopt};
    // Data written by other programs may lack the terminating zero byte, or
    // hold text after an early one.
    const auto& data = value.Value().data;
    return {std::string(data.begin(), std::find(data.begin(), data.end(), 0)), std::nullopt};
}

RegReading<std::int32_t> DwordReading(const platform::Result<platform::RegValue, platform::RegFault>& value)
{
    if (!value)
        return {0, BrokenRegistry(value)};
    // Whatever the type, the first four bytes or fewer, little-endian.
    const auto& data = value.Value().data;
    std::uint32_t number = 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(4, data.size()); ++i)
        number |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    return {static_cast<std::int32_t>(number), std::nullopt};
}

// Whether the key path names a key below a root, which a read needs.
bool NamesKey(const std::optional<platform::RegKeyPath>& key)
{
    return key && !key->subKey.empty();
}

} // namespace

RegReading<std::string> PowerClass::ReadString(RegistryLocation location, const std::string& valueName) const
{
    const auto key = Resolve(location, currentKeyPath);
    if (!NamesKey(key))
        return {kKeyNotFoundText, std::nullopt};
    return StringReading(Query(*key, valueName));
}

RegReading<std::int32_t> PowerClass::ReadDword(RegistryLocation location, const std::string& valueName) const
{
    const auto key = Resolve(location, currentKeyPath);
    if (!NamesKey(key))
        return {1, std::nullopt};
    return DwordReading(Query(*key, valueName));
}

RegReading<std::string> PowerClass::StringOf(const platform::Result<platform::RegValue, platform::RegFault>& raw) const
{
    if (!NamesKey(Resolve(RegistryLocation::FromPath, currentKeyPath)))
        return {kKeyNotFoundText, std::nullopt};
    return StringReading(raw);
}

RegReading<std::int32_t> PowerClass::DwordOf(const platform::Result<platform::RegValue, platform::RegFault>& raw) const
{
    if (!NamesKey(Resolve(RegistryLocation::FromPath, currentKeyPath)))
        return {1, std::nullopt};
    return DwordReading(raw);
}

std::string PowerClass::ReadStringValue(RegistryLocation location, const std::string& valueName) const
{
    return ReadString(location, valueName).value;
}

std::int32_t PowerClass::ReadDwordValue(RegistryLocation location, const std::string& valueName) const
{
    return ReadDword(location, valueName).value;
}

platform::RegResult PowerClass::WriteStringValue(RegistryLocation location, const std::string& valueName,
                                           const std::string& data) const
{
    return Change(Resolve(location, currentKeyPath), [&](platform::IRegistry& registry, const platform::RegKeyPath& key) {
        platform::RegValue text = platform::RegValue::String(data);
        // A text written over an expandable one stays expandable: a folder
        // such as "%USERPROFILE%\Documents" must go on following the user.
        if (IsExpandable(registry, key, valueName))
            text.type = platform::RegType::ExpandSz;
        return registry.SetValue(key.root, key.subKey, valueName, text);
    });
}

platform::RegResult PowerClass::WriteDwordValue(RegistryLocation location, const std::string& valueName,
                                          std::int32_t data) const
{
    return Change(Resolve(location, currentKeyPath), [&](platform::IRegistry& registry, const platform::RegKeyPath& key) {
        return registry.SetValue(key.root, key.subKey, valueName, platform::RegValue::Dword(static_cast<std::uint32_t>(data)));
    });
}

platform::RegResult PowerClass::DeleteValue(RegistryLocation location, const std::string& valueName) const
{
    return Change(Resolve(location, currentKeyPath), [&](platform::IRegistry& registry, const platform::RegKeyPath& key) {
        return registry.DeleteValue(key.root, key.subKey, valueName);
    });
}

platform::RegResult PowerClass::CheckWrite(RegistryLocation location, const std::string& valueName,
                                     const platform::RegValue& value) const
{
    return Change(Resolve(location, currentKeyPath), [&](platform::IRegistry& registry, const platform::RegKeyPath& key) {
        return registry.CheckChanges({{platform::ShareKey(key), valueName, value}}, {});
    });
}

// The two characters after the root name are cut without being looked at; the
// rest reaches the registry as it is, doubled separators included.
std::optional<platform::RegKeyPath> PowerClass::ResolvePathForm(const std::string& keyPath)
{
    const auto below = [&keyPath](std::size_t cut) { return keyPath.size() > cut ? keyPath.substr(cut) : std::string(); };
    if (keyPath.compare(0, 17, "HKEY_CURRENT_USER") == 0)
        return platform::RegKeyPath{platform::RegRoot::CurrentUser, below(19)};
    if (keyPath.compare(0, 18, "HKEY_LOCAL_MACHINE") == 0)
        return platform::RegKeyPath{platform::RegRoot::LocalMachine, below(20)};
    return std::nullopt;
}

// Reads the value that a write with the same key path would replace, so an
// empty sub-key here names the root key itself, as it does for the writes.
platform::Result<platform::RegValue, platform::RegFault> PowerClass::ReadRawValue(const std::string& valueName) const
{
    const auto key = Resolve(RegistryLocation::FromPath, currentKeyPath);
    if (!key)
        return platform::RegError::KeyNotFound;
    return Query(*key, valueName);
}

platform::Result<platform::ExactRegValue, platform::RegFault> PowerClass::ReadExactValue(const std::string& valueName) const
{
    const auto key = Resolve(RegistryLocation::FromPath, currentKeyPath);
    if (!key)
        return platform::RegError::KeyNotFound;
    return Ask(*key, valueName, &platform::IRegistry::QueryExactValue);
}

void PowerClass::RunExclusively(const std::function<void()>& work) const
{
    if (platform::IRegistry* registry = platform::CurrentServices().registry)
        registry->Exclusively(work);
    else
        work();
}

} // namespace util
