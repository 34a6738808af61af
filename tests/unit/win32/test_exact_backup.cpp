// Backups of real registry values, imported again by the system's registry
// editor: whatever the value held, the import puts back its type and bytes.
#include "unit/TempAppFolder.h"
#include "unit/win32/ScratchKey.h"

#include "saving/BackupText.h"
#include "saving/SaveKey.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Registry.h"
#include "util/PowerClass.h"

#include <gtest/gtest.h>

#include <string_view>

using namespace std::string_view_literals;

namespace {

struct WideValue {
    DWORD type = REG_NONE;
    std::string bytes;
};

std::string Bytes(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

void SetWide(const std::string& subKey, const WideValue& value)
{
    HKEY key = nullptr;
    ASSERT_EQ(
        ::RegCreateKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    const tk::win32::UniqueKey owner(key);
    ASSERT_EQ(::RegSetValueExW(key, L"Value", 0, value.type, reinterpret_cast<const BYTE*>(value.bytes.data()),
                               static_cast<DWORD>(value.bytes.size())),
              ERROR_SUCCESS);
}

// Type and bytes as the wide API reads them; type REG_NONE when missing.
WideValue GetWide(const std::string& subKey)
{
    WideValue value;
    DWORD size = 4096;
    value.bytes.resize(size);
    if (::RegGetValueW(HKEY_CURRENT_USER, std::wstring(subKey.begin(), subKey.end()).c_str(), L"Value",
                       RRF_RT_ANY | RRF_NOEXPAND, &value.type, value.bytes.data(), &size) != ERROR_SUCCESS)
        return {};
    value.bytes.resize(size);
    return value;
}

// regedit /S, as the shell's "open" of a backup runs it without asking.
void Import(const std::string& file)
{
    std::string command = "regedit.exe /S \"" + file + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                 &process));
    ::WaitForSingleObject(process.hProcess, 30000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

} // namespace

TEST(ExactBackup, TheRegistryEditorRestoresEveryValueFromItsBackup)
{
    struct Case {
        const char* what;
        WideValue before;
        bool unicode; // the backup needs the editor's Unicode form
    };
    const Case cases[] = {
        {"text in the code page", {REG_SZ, Bytes(std::wstring(L"caf\u00E9 \u20AC\\\"", 9))}, false},
        {"text beyond it", {REG_SZ, Bytes(std::wstring(L"\u0416\u4E2D \u0141", 5))}, true},
        {"expandable text beyond it", {REG_EXPAND_SZ, Bytes(std::wstring(L"%TEMP%\\\u03A9", 9))}, true},
        {"list beyond it", {REG_MULTI_SZ, Bytes(std::wstring(L"a\0\u0416\0", 5))}, true},
        {"list in it", {REG_MULTI_SZ, Bytes(std::wstring(L"a\0\u00E9\0", 5))}, false},
        {"a character beyond U+FFFF", {REG_SZ, Bytes(std::wstring(L"\U0001F600", 3))}, true},
        {"a number", {REG_DWORD, std::string("\x10\0\0\x80", 4)}, false},
        {"bytes", {REG_BINARY, std::string("\0\xFF\x16\x04", 4)}, false},
        {"no value", {}, false},
    };
    const ScratchKey scratch;
    const std::string& subKey = scratch.SubKey();
    const std::string keyPath = "HKEY_CURRENT_USER\\\\" + subKey;
    tk::Win32Registry registry;
    TempAppFolder folder(&registry);
    PowerClass power;
    const auto key = ParseSaveKey(keyPath);
    ASSERT_TRUE(key);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, subKey.c_str());
        SetWide(subKey, c.before.type == REG_NONE ? WideValue{REG_SZ, Bytes(std::wstring(L"x", 2))} : c.before);
        if (c.before.type == REG_NONE)
            ::RegDeleteKeyValueA(HKEY_CURRENT_USER, subKey.c_str(), "Value");

        const auto prior = ReadPriorValue(power, keyPath, *key, "Value");
        ASSERT_TRUE(prior);
        const std::string text = BackupText(*key, "Value", prior.Value());
        EXPECT_EQ(text.starts_with("\xFF\xFEW\0i\0n\0"sv), c.unicode);
        EXPECT_EQ(text.starts_with("REGEDIT4\r\n"), !c.unicode);
        folder.Write("backup.reg", text);

        SetWide(subKey, {REG_DWORD, std::string("\x01\x02\x03\x04", 4)});
        Import(folder.Path("backup.reg"));
        const WideValue after = GetWide(subKey);
        EXPECT_EQ(after.type, c.before.type);
        EXPECT_EQ(after.bytes, c.before.bytes);
    }
}
