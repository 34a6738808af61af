// The Windows registry behind the toolkit's interface, on keys of the test's
// own below HKEY_CURRENT_USER\Software\TunewrightTest.
#include "unit/win32/ScratchKey.h"

#include "platform/Services.h"
#include "platform/win32/Win32Registry.h"
#include "util/PowerClass.h"

#include <gtest/gtest.h>

using namespace util;
using namespace platform;

namespace {

class Win32RegistryTest : public ::testing::Test {
protected:
    static RegValue Raw(RegType type, const std::string& bytes)
    {
        return RegValue{type, std::vector<std::uint8_t>(bytes.begin(), bytes.end())};
    }

    const ScratchKey scratch_;
    const std::string key_ = scratch_.SubKey();
    Win32Registry registry_;
};

} // namespace

TEST_F(Win32RegistryTest, ValuesComeBackWithTheirTypeAndExactBytes)
{
    const RegValue values[] = {
        RegValue::String("caf\xE9 au lait"),
        RegValue::String(""),
        RegValue::Dword(0xFFFFFFFFu),
        Raw(RegType::ExpandSz, std::string("%SystemRoot%\\x\0", 15)),
        Raw(RegType::Binary, std::string("\0\x01\xFF", 3)),
        Raw(RegType::MultiSz, std::string("one\0two\0\0", 9)),
    };
    for (const RegValue& value : values) {
        SCOPED_TRACE(static_cast<int>(value.type));
        ASSERT_TRUE(registry_.SetValue(RegRoot::CurrentUser, key_ + "\\Deep\\Er", "Name", value));
        const auto read = registry_.QueryValue(RegRoot::CurrentUser, key_ + "\\Deep\\Er", "name");
        ASSERT_TRUE(read);
        EXPECT_EQ(read.Value().type, value.type);
        EXPECT_EQ(read.Value().data, value.data);
    }
}

// What the panel shows and Save writes: a user shell folder as Windows keeps
// it, %VARIABLES% unexpanded, and written back still expandable.
TEST_F(Win32RegistryTest, AnExpandableTextIsReadUnexpandedAndStaysExpandable)
{
    ASSERT_TRUE(registry_.SetValue(RegRoot::CurrentUser, key_, "Personal",
                                   Raw(RegType::ExpandSz, std::string("%USERPROFILE%\\Documents\0", 24))));
    Services services;
    services.registry = &registry_;
    const ScopedServices installed(services);
    PowerClass power;
    power.currentKeyPath = "HKEY_CURRENT_USER\\\\" + key_;
    EXPECT_EQ(power.ReadStringValue(RegistryLocation::FromPath, "Personal"), "%USERPROFILE%\\Documents");
    ASSERT_TRUE(power.WriteStringValue(RegistryLocation::FromPath, "Personal", "%TEMP%\\x"));

    DWORD type = REG_NONE;
    std::string data(64, '\0');
    DWORD size = static_cast<DWORD>(data.size());
    ASSERT_EQ(::RegGetValueA(HKEY_CURRENT_USER, key_.c_str(), "Personal", RRF_RT_ANY | RRF_NOEXPAND, &type,
                             data.data(), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(data.substr(0, size), std::string("%TEMP%\\x\0", 9));
}

TEST_F(Win32RegistryTest, MissingKeysAndValuesAndDeletion)
{
    EXPECT_EQ(registry_.QueryValue(RegRoot::CurrentUser, key_, "x").Error(), RegError::KeyNotFound);
    EXPECT_EQ(registry_.DeleteValue(RegRoot::CurrentUser, key_, "x").Error(), RegError::KeyNotFound);
    ASSERT_TRUE(registry_.SetValue(RegRoot::CurrentUser, key_, "x", RegValue::Dword(1)));
    EXPECT_EQ(registry_.QueryValue(RegRoot::CurrentUser, key_, "y").Error(), RegError::ValueNotFound);
    EXPECT_EQ(registry_.DeleteValue(RegRoot::CurrentUser, key_, "y").Error(), RegError::ValueNotFound);
    EXPECT_TRUE(registry_.DeleteValue(RegRoot::CurrentUser, key_, "X"));
    EXPECT_EQ(registry_.QueryValue(RegRoot::CurrentUser, key_, "x").Error(), RegError::ValueNotFound);
}

// A doubled separator names the same key as a single one, and a trailing one
// changes nothing; a leading one names no key and never reaches the system.
TEST_F(Win32RegistryTest, DoubledSeparatorsNameTheSameKey)
{
    ASSERT_TRUE(registry_.SetValue(RegRoot::CurrentUser, key_ + "\\\\A\\\\\\B\\", "v", RegValue::String("1")));
    const auto read = registry_.QueryValue(RegRoot::CurrentUser, key_ + "\\A\\B", "v");
    ASSERT_TRUE(read);
    EXPECT_EQ(read.Value().data, RegValue::String("1").data);
    HKEY opened = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, (key_ + "\\A\\B").c_str(), 0, KEY_READ, &opened), ERROR_SUCCESS);
    ::RegCloseKey(opened);

    EXPECT_EQ(registry_.SetValue(RegRoot::CurrentUser, "\\" + key_, "v", RegValue::String("1")).Error(),
              RegError::BadKeyPath);
    EXPECT_EQ(registry_.QueryValue(RegRoot::CurrentUser, "\\" + key_, "v").Error(), RegError::BadKeyPath);
    EXPECT_EQ(SystemSubKey("A\\\\B\\\\"), std::optional<std::string>("A\\B"));
}

// The narrow functions would give look-alikes ("\u0141" as "L"), which a
// save would write back as a text that was never there.
TEST_F(Win32RegistryTest, ATextBeyondTheCodePageReadsWithQuestionMarksNotLookAlikes)
{
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const auto setWide = [key](const wchar_t* name, DWORD type, const std::wstring& text) {
        return ::RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.data()),
                                static_cast<DWORD>(text.size() * sizeof(wchar_t)));
    };
    ASSERT_EQ(setWide(L"Owner", REG_SZ, std::wstring(L"\u0141\u00F3d\u017A", 5)), ERROR_SUCCESS);
    ASSERT_EQ(setWide(L"List", REG_MULTI_SZ, std::wstring(L"\u03A9\0caf\u00E9\0", 8)), ERROR_SUCCESS);
    ::RegCloseKey(key);

    const auto owner = registry_.QueryValue(RegRoot::CurrentUser, key_, "Owner");
    ASSERT_TRUE(owner);
    EXPECT_EQ(owner.Value().data, RegValue::String("?\xF3" "d?").data);
    const auto list = registry_.QueryValue(RegRoot::CurrentUser, key_, "List");
    ASSERT_TRUE(list);
    EXPECT_EQ(list.Value().data, Raw(RegType::MultiSz, std::string("?\0caf\xE9\0\0", 8)).data);
    const auto exact = registry_.QueryExactValue(RegRoot::CurrentUser, key_, "Owner");
    ASSERT_TRUE(exact);
    EXPECT_TRUE(exact.Value().utf16) << "the backup keeps the text wide";
}
