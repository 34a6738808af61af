#pragma once
// A value of the real registry as its wide functions write and read it, for
// tests whose text the code page cannot hold: type and bytes, exactly.
#include "platform/win32/Win32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

struct WideValue {
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> bytes;
    friend bool operator==(const WideValue&, const WideValue&) = default;
};

// Sets `name` of HKEY_CURRENT_USER\`subKey`, creating the key.
inline void SetWide(const std::string& subKey, const wchar_t* name, const WideValue& value)
{
    HKEY key = nullptr;
    ASSERT_EQ(
        ::RegCreateKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    const platform::win32::UniqueKey owner(key);
    ASSERT_EQ(::RegSetValueExW(key, name, 0, value.type, value.bytes.data(), static_cast<DWORD>(value.bytes.size())),
              ERROR_SUCCESS);
}

// Type REG_NONE when the value is missing.
inline WideValue GetWide(const std::string& subKey, const wchar_t* name)
{
    WideValue value;
    DWORD size = 4096;
    value.bytes.resize(size);
    if (::RegGetValueW(HKEY_CURRENT_USER, std::wstring(subKey.begin(), subKey.end()).c_str(), name,
                       RRF_RT_ANY | RRF_NOEXPAND, &value.type, value.bytes.data(), &size) != ERROR_SUCCESS)
        return {};
    value.bytes.resize(size);
    return value;
}
