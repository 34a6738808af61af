// Backups of real registry values, imported again by the system's registry
// editor: whatever the value held, the import puts back its type and bytes.
#include "unit/TempAppFolder.h"
#include "unit/win32/ScratchKey.h"
#include "unit/win32/WideValue.h"

#include "saving/BackupText.h"
#include "saving/SaveKey.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Registry.h"
#include "util/PowerClass.h"

#include <gtest/gtest.h>

#include <string_view>

using namespace saving;
using namespace util;

using namespace std::string_view_literals;

namespace {

std::vector<std::uint8_t> Bytes(const std::wstring& text)
{
    const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
    return std::vector<std::uint8_t>(data, data + text.size() * sizeof(wchar_t));
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
        {"a number", {REG_DWORD, {0x10, 0x00, 0x00, 0x80}}, false},
        {"bytes", {REG_BINARY, {0x00, 0xFF, 0x16, 0x04}}, false},
        {"no value", {}, false},
    };
    const ScratchKey scratch;
    const std::string& subKey = scratch.SubKey();
    const std::string keyPath = "HKEY_CURRENT_USER\\\\" + subKey;
    platform::Win32Registry registry;
    TempAppFolder folder(&registry);
    PowerClass power;
    const auto key = ParseSaveKey(keyPath);
    ASSERT_TRUE(key);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, subKey.c_str());
        SetWide(subKey, L"Value",
                c.before.type == REG_NONE ? WideValue{REG_SZ, Bytes(std::wstring(L"x", 2))} : c.before);
        if (c.before.type == REG_NONE)
            ::RegDeleteKeyValueA(HKEY_CURRENT_USER, subKey.c_str(), "Value");

        const auto prior = ReadPriorValue(power, keyPath, *key, "Value");
        ASSERT_TRUE(prior);
        const std::string text = BackupText(*key, "Value", prior.Value());
        EXPECT_EQ(text.starts_with("\xFF\xFEW\0i\0n\0"sv), c.unicode);
        EXPECT_EQ(text.starts_with("REGEDIT4\r\n"), !c.unicode);
        folder.Write("backup.reg", text);

        SetWide(subKey, L"Value", {REG_DWORD, {0x01, 0x02, 0x03, 0x04}});
        Import(folder.Path("backup.reg"));
        const WideValue after = GetWide(subKey, L"Value");
        EXPECT_EQ(after.type, c.before.type);
        EXPECT_EQ(after.bytes, c.before.bytes);
    }
}
