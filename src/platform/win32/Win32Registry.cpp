#include "platform/win32/Win32Registry.h"

#include "platform/RegNames.h"
#include "platform/SystemText.h"
#include "platform/win32/RegistryRoots.h"
#include "platform/win32/Win32.h"

namespace platform {

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

// Asks `read(data, size)` until the value fits, as it may grow between two
// questions; `read` also sets the type.
template <class Read>
Result<RegValue, RegError> ReadWhole(Read read)
{
    RegValue value;
    DWORD type = REG_NONE;
    DWORD size = 0;
    LSTATUS status = read(&type, nullptr, &size);
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        value.data.resize(size);
        status = read(&type, value.data.data(), &size);
        if (status == ERROR_SUCCESS) {
            value.data.resize(size);
            value.type = static_cast<RegType>(type);
            return value;
        }
    }
    return status == ERROR_FILE_NOT_FOUND ? RegError::ValueNotFound : OpenError(status);
}

bool IsText(RegType type)
{
    return type == RegType::Sz || type == RegType::ExpandSz || type == RegType::MultiSz;
}

// UTF-16LE data in the code page (platform/SystemText.h): each character it
// lacks as '?', never a look-alike; a last odd byte, which no character
// has, is dropped.
CodePageText Narrow(const std::vector<std::uint8_t>& data)
{
    return FromUtf16(DecodeUtf16Le(data));
}

// The value as the registry's wide functions give it: a text in UTF-16LE.
Result<RegValue, RegError> QueryWide(HKEY key, std::string_view name)
{
    const std::wstring valueName = win32::Wide(name);
    return ReadWhole([&](DWORD* type, BYTE* data, DWORD* size) {
        return ::RegQueryValueExW(key, valueName.c_str(), nullptr, type, data, size);
    });
}

} // namespace

std::optional<std::string> SystemSubKey(std::string_view subKey)
{
    if (subKey.starts_with('\\'))
        return std::nullopt;
    return JoinedKeyPath(subKey);
}

// A text reads through the wide functions: the narrow ones would give a
// look-alike for a character the code page lacks ("\u0141" as "L").
Result<RegValue, RegFault> Win32Registry::QueryValue(RegRoot root, std::string_view subKey, std::string_view name)
{
    const auto key = OpenKey(root, subKey, KEY_QUERY_VALUE);
    if (!key)
        return key.Error();
    auto read = QueryWide(key.Value().get(), name);
    if (read && IsText(read.Value().type)) {
        const std::string narrow = Narrow(read.Value().data).text;
        read.Value().data.assign(narrow.begin(), narrow.end());
    }
    return read;
}

Result<ExactRegValue, RegFault> Win32Registry::QueryExactValue(RegRoot root, std::string_view subKey,
                                                               std::string_view name)
{
    const auto sub = SystemSubKey(subKey);
    if (!sub)
        return RegError::BadKeyPath;
    HKEY opened = nullptr;
    const LSTATUS status =
        ::RegOpenKeyExW(win32::RootKey(root), win32::Wide(*sub).c_str(), 0, KEY_QUERY_VALUE, &opened);
    if (status != ERROR_SUCCESS)
        return OpenError(status);
    const win32::UniqueKey key(opened);
    auto read = QueryWide(key.get(), name);
    if (!read)
        return read.Error();
    RegValue& value = read.Value();
    if (!IsText(value.type))
        return ExactRegValue{std::move(value), false};
    if (value.data.size() % 2 == 0) {
        if (CodePageText narrow = Narrow(value.data); narrow.foreign.empty()) {
            value.data.assign(narrow.text.begin(), narrow.text.end());
            return ExactRegValue{std::move(value), false};
        }
    }
    return ExactRegValue{std::move(value), true};
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

bool Win32Registry::HoldsWideText() const
{
    return true;
}

// The narrow RegSetValueExA would turn the text into the code page, each
// character it lacks into a look-alike or "?": the wide one stores the
// UTF-16 bytes as they are.
RegResult Win32Registry::SetWideValue(RegRoot root, std::string_view subKey, std::string_view name,
                                      const RegValue& wide)
{
    const auto sub = SystemSubKey(subKey);
    if (!sub)
        return RegError::BadKeyPath;
    HKEY created = nullptr;
    const LSTATUS create = ::RegCreateKeyExW(win32::RootKey(root), win32::Wide(*sub).c_str(), 0, nullptr,
                                             REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &created, nullptr);
    if (create != ERROR_SUCCESS)
        return ChangeError(create);
    const win32::UniqueKey key(created);
    const LSTATUS set = ::RegSetValueExW(key.get(), win32::Wide(name).c_str(), 0, static_cast<DWORD>(wide.type),
                                         wide.data.data(), static_cast<DWORD>(wide.data.size()));
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

Result<bool, RegError> Win32Registry::IsEmptyKey(RegRoot root, std::string_view subKey)
{
    const auto sub = SystemSubKey(subKey);
    if (!sub)
        return RegError::BadKeyPath;
    if (sub->empty())
        return false;
    const auto key = OpenKey(root, subKey, KEY_QUERY_VALUE);
    if (!key)
        return key.Error();
    DWORD keys = 0;
    DWORD values = 0;
    const LSTATUS status = ::RegQueryInfoKeyA(key.Value().get(), nullptr, nullptr, nullptr, &keys, nullptr, nullptr,
                                              &values, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS)
        return OpenError(status);
    return keys == 0 && values == 0;
}

Result<bool, RegFault> Win32Registry::DeleteEmptyKey(RegRoot root, std::string_view subKey)
{
    const auto empty = IsEmptyKey(root, subKey);
    if (!empty)
        return empty.Error() == RegError::KeyNotFound ? Result<bool, RegFault>(false) : RegFault(empty.Error());
    if (!empty.Value())
        return false;
    const LSTATUS status = ::RegDeleteKeyA(win32::RootKey(root), SystemSubKey(subKey)->c_str());
    if (status == ERROR_SUCCESS)
        return true;
    // RegDeleteKey refuses a key that has got a key below it meanwhile: it
    // stays, as a key with content does.
    const auto now = IsEmptyKey(root, subKey);
    if (status == ERROR_FILE_NOT_FOUND || (now && !now.Value()))
        return false;
    return RegFault(ChangeError(status));
}

} // namespace platform
