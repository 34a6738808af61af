#include "toolkit/win32/Win32Registry.h"

#include "toolkit/regstore/RegNames.h"
#include "toolkit/win32/RegistryRoots.h"
#include "toolkit/win32/Win32.h"

namespace tk {

namespace {

RegError OpenError(LSTATUS status)
{
    return status == ERROR_ACCESS_DENIED ? RegError::AccessDenied : RegError::KeyNotFound;
}

RegError ChangeError(LSTATUS status)
{
    return status == ERROR_ACCESS_DENIED ? RegError::AccessDenied : RegError::WriteFailed;
}

Result<win32::UniqueKey, RegError> OpenKey(RegRoot root, std::string_view subKey, REGSAM access)
{
    const auto sub = SystemSubKey(subKey);
    if (!sub)
        return RegError::BadKeyPath;
    HKEY opened = nullptr;
    const LSTATUS status = ::RegOpenKeyExA(win32::RootKey(root), sub->c_str(), 0, access, &opened);
    if (status != ERROR_SUCCESS)
        return OpenError(status);
    return win32::UniqueKey(opened);
}

} // namespace

std::optional<std::string> SystemSubKey(std::string_view subKey)
{
    const auto names = SplitKeyPath(subKey);
    if (!names)
        return std::nullopt;
    std::string joined;
    for (const std::string_view name : *names) {
        if (!joined.empty())
            joined += '\\';
        joined += name;
    }
    return joined;
}

Result<RegValue, RegError> Win32Registry::QueryValue(RegRoot root, std::string_view subKey, std::string_view name)
{
    const auto key = OpenKey(root, subKey, KEY_QUERY_VALUE);
    if (!key)
        return key.Error();
    const std::string valueName(name);
    RegValue value;
    DWORD type = REG_NONE;
    DWORD size = 0;
    LSTATUS status = ::RegQueryValueExA(key.Value().get(), valueName.c_str(), nullptr, &type, nullptr, &size);
    // The value may grow between the two questions: ask again until it fits.
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        value.data.resize(size);
        status = ::RegQueryValueExA(key.Value().get(), valueName.c_str(), nullptr, &type, value.data.data(), &size);
        if (status == ERROR_SUCCESS) {
            value.data.resize(size);
            value.type = static_cast<RegType>(type);
            return value;
        }
    }
    return status == ERROR_FILE_NOT_FOUND ? RegError::ValueNotFound : OpenError(status);
}

RegResult Win32Registry::SetValue(RegRoot root, std::string_view subKey, std::string_view name,
                                  const RegValue& value)
{
    const auto sub = SystemSubKey(subKey);
    if (!sub)
        return RegError::BadKeyPath;
    HKEY created = nullptr;
    const LSTATUS create = ::RegCreateKeyExA(win32::RootKey(root), sub->c_str(), 0, nullptr,
                                             REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &created, nullptr);
    if (create != ERROR_SUCCESS)
        return ChangeError(create);
    const win32::UniqueKey key(created);
    const LSTATUS set = ::RegSetValueExA(key.get(), std::string(name).c_str(), 0, static_cast<DWORD>(value.type),
                                         value.data.data(), static_cast<DWORD>(value.data.size()));
    if (set != ERROR_SUCCESS)
        return ChangeError(set);
    return {};
}

RegResult Win32Registry::DeleteValue(RegRoot root, std::string_view subKey, std::string_view name)
{
    const auto key = OpenKey(root, subKey, KEY_SET_VALUE);
    if (!key)
        return key.Error();
    const LSTATUS status = ::RegDeleteValueA(key.Value().get(), std::string(name).c_str());
    if (status == ERROR_FILE_NOT_FOUND)
        return RegError::ValueNotFound;
    if (status != ERROR_SUCCESS)
        return ChangeError(status);
    return {};
}

} // namespace tk
