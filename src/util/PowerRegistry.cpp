#include "util/PowerClass.h"

#include "platform/Exceptions.h"
#include "util/Texts.h"
#include "platform/Registry.h"
#include "platform/Services.h"

#include <algorithm>
#include <optional>

namespace {

// What a string read shows when the key path names no root or no key below
// it. The trailing blank belongs to the text.
const char* const kKeyNotFoundText = "Registry key was not found :-( ";
const char* const kNotAStringText = "No REG_SZ";

std::optional<tk::RegKeyPath> Resolve(RegistryLocation location, const std::string& keyPath)
{
    if (location == RegistryLocation::LocalMachine)
        return tk::RegKeyPath{tk::RegRoot::LocalMachine, keyPath};
    return PowerClass::ResolvePathForm(keyPath);
}

// A missing service counts as a key that cannot be opened, and a file fault
// of the service (its exceptions) as a broken store.
template <class T>
tk::Result<T, tk::RegFault> Ask(const tk::RegKeyPath& key, const std::string& name,
                                tk::Result<T, tk::RegFault> (tk::IRegistry::*read)(tk::RegRoot, std::string_view,
                                                                                  std::string_view))
{
    tk::IRegistry* registry = tk::CurrentServices().registry;
    if (registry == nullptr)
        return tk::RegError::KeyNotFound;
    try {
        return (registry->*read)(key.root, key.subKey, name);
    } catch (const tk::CException& e) {
        return tk::RegFault(tk::RegError::StoreBroken, e.what());
    }
}

tk::Result<tk::RegValue, tk::RegFault> Query(const tk::RegKeyPath& key, const std::string& name)
{
    return Ask(key, name, &tk::IRegistry::QueryValue);
}

// A change: the registry's result, or the fault that kept it from trying.
template <class Operation>
tk::RegResult Change(const std::optional<tk::RegKeyPath>& key, const Operation& operation)
{
    if (!key)
        return tk::RegFault(tk::RegError::BadKeyPath, tk::Text(text::KeyPathNamesNoRoot));
    tk::IRegistry* registry = tk::CurrentServices().registry;
    if (registry == nullptr)
        return tk::RegFault(tk::RegError::WriteFailed, tk::Text(text::NoRegistry));
    try {
        return operation(*registry, *key);
    } catch (const tk::CException& e) {
        return tk::RegFault(tk::RegError::WriteFailed, e.what());
    }
}

// Whether the value a write replaces is a REG_EXPAND_SZ; one that cannot be
// read is none.
bool IsExpandable(tk::IRegistry& registry, const tk::RegKeyPath& key, const std::string& name)
{
    const auto value = registry.QueryValue(key.root, key.subKey, name);
    return value && value.Value().type == tk::RegType::ExpandSz;
}

// The fault of a read that the user must hear of: the registry cannot be
// read at all. A key or value that is not there, or may not be read, is only
// shown as the fixed text or number in its place.
std::optional<tk::RegFault> BrokenRegistry(const tk::Result<tk::RegValue, tk::RegFault>& value)
{
    if (value || !(value.Error() == tk::RegError::StoreBroken))
        return std::nullopt;
    return value.Error();
}

// A string read of the value, once its key path names a key below a root.
RegReading<std::string> StringReading(const tk::Result<tk::RegValue, tk::RegFault>& value)
{
    if (!value || value.Value().data.empty())
        return {std::string(), BrokenRegistry(value)};
    // An expandable text is shown as stored, its %VARIABLES% unexpanded, so
    // that saving it back keeps them.
    if (value.Value().type != tk::RegType::Sz && value.Value().type != tk::RegType::ExpandSz)
        return {kNotAStringText, std::nullopt};
    // Data written by other programs may lack the terminating zero byte, or
    // hold text after an early one.
    const auto& data = value.Value().data;
    return {std::string(data.begin(), std::find(data.begin(), data.end(), 0)), std::nullopt};
}

RegReading<std::int32_t> DwordReading(const tk::Result<tk::RegValue, tk::RegFault>& value)
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
bool NamesKey(const std::optional<tk::RegKeyPath>& key)
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

RegReading<std::string> PowerClass::StringOf(const tk::Result<tk::RegValue, tk::RegFault>& raw) const
{
    if (!NamesKey(Resolve(RegistryLocation::FromPath, currentKeyPath)))
        return {kKeyNotFoundText, std::nullopt};
    return StringReading(raw);
}

RegReading<std::int32_t> PowerClass::DwordOf(const tk::Result<tk::RegValue, tk::RegFault>& raw) const
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

tk::RegResult PowerClass::WriteStringValue(RegistryLocation location, const std::string& valueName,
                                           const std::string& data) const
{
    return Change(Resolve(location, currentKeyPath), [&](tk::IRegistry& registry, const tk::RegKeyPath& key) {
        tk::RegValue text = tk::RegValue::String(data);
        // A text written over an expandable one stays expandable: a folder
        // such as "%USERPROFILE%\Documents" must go on following the user.
        if (IsExpandable(registry, key, valueName))
            text.type = tk::RegType::ExpandSz;
        return registry.SetValue(key.root, key.subKey, valueName, text);
    });
}

tk::RegResult PowerClass::WriteDwordValue(RegistryLocation location, const std::string& valueName,
                                          std::int32_t data) const
{
    return Change(Resolve(location, currentKeyPath), [&](tk::IRegistry& registry, const tk::RegKeyPath& key) {
        return registry.SetValue(key.root, key.subKey, valueName, tk::RegValue::Dword(static_cast<std::uint32_t>(data)));
    });
}

tk::RegResult PowerClass::DeleteValue(RegistryLocation location, const std::string& valueName) const
{
    return Change(Resolve(location, currentKeyPath), [&](tk::IRegistry& registry, const tk::RegKeyPath& key) {
        return registry.DeleteValue(key.root, key.subKey, valueName);
    });
}

tk::RegResult PowerClass::CheckWrite(RegistryLocation location, const std::string& valueName,
                                     const tk::RegValue& value) const
{
    return Change(Resolve(location, currentKeyPath), [&](tk::IRegistry& registry, const tk::RegKeyPath& key) {
        return registry.CheckChanges({{tk::ShareKey(key), valueName, value}}, {});
    });
}

// The two characters after the root name are cut without being looked at; the
// rest reaches the registry as it is, doubled separators included.
std::optional<tk::RegKeyPath> PowerClass::ResolvePathForm(const std::string& keyPath)
{
    const auto below = [&keyPath](std::size_t cut) { return keyPath.size() > cut ? keyPath.substr(cut) : std::string(); };
    if (keyPath.compare(0, 17, "HKEY_CURRENT_USER") == 0)
        return tk::RegKeyPath{tk::RegRoot::CurrentUser, below(19)};
    if (keyPath.compare(0, 18, "HKEY_LOCAL_MACHINE") == 0)
        return tk::RegKeyPath{tk::RegRoot::LocalMachine, below(20)};
    return std::nullopt;
}

// Reads the value that a write with the same key path would replace, so an
// empty sub-key here names the root key itself, as it does for the writes.
tk::Result<tk::RegValue, tk::RegFault> PowerClass::ReadRawValue(const std::string& valueName) const
{
    const auto key = Resolve(RegistryLocation::FromPath, currentKeyPath);
    if (!key)
        return tk::RegError::KeyNotFound;
    return Query(*key, valueName);
}

tk::Result<tk::ExactRegValue, tk::RegFault> PowerClass::ReadExactValue(const std::string& valueName) const
{
    const auto key = Resolve(RegistryLocation::FromPath, currentKeyPath);
    if (!key)
        return tk::RegError::KeyNotFound;
    return Ask(*key, valueName, &tk::IRegistry::QueryExactValue);
}

void PowerClass::RunExclusively(const std::function<void()>& work) const
{
    if (tk::IRegistry* registry = tk::CurrentServices().registry)
        registry->Exclusively(work);
    else
        work();
}
