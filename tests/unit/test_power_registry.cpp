#include "platform/Services.h"
#include "regfile/RegistryTree.h"
#include "util/PowerClass.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

using namespace util;

namespace {

using platform::RegRoot;
using platform::RegType;
using platform::RegValue;

const std::string kNotFound = "Registry key was not found :-( ";

RegValue Raw(RegType type, std::vector<std::uint8_t> data)
{
    return RegValue{type, std::move(data)};
}

// The in-memory registry, seen through a probe that records which sub-keys
// reach it and can deny access to one key.
class ProbeRegistry final : public platform::IRegistry {
public:
    regfile::RegistryTree tree;
    std::vector<std::string> subKeys;
    std::string deniedKey = "\x01none";

    platform::Result<RegValue, platform::RegFault> QueryValue(RegRoot root, std::string_view subKey,
                                                              std::string_view name) override
    {
        subKeys.emplace_back(subKey);
        if (subKey == deniedKey)
            return platform::RegError::AccessDenied;
        return tree.QueryValue(root, subKey, name);
    }
    platform::RegResult SetValue(RegRoot root, std::string_view subKey, std::string_view name,
                                 const RegValue& value) override
    {
        subKeys.emplace_back(subKey);
        if (subKey == deniedKey)
            return platform::RegError::AccessDenied;
        return tree.SetValue(root, subKey, name, value);
    }
    platform::RegResult DeleteValue(RegRoot root, std::string_view subKey, std::string_view name) override
    {
        subKeys.emplace_back(subKey);
        if (subKey == deniedKey)
            return platform::RegError::AccessDenied;
        return tree.DeleteValue(root, subKey, name);
    }
    platform::Result<bool, platform::RegFault> DeleteEmptyKey(RegRoot root, std::string_view subKey) override
    {
        return tree.DeleteEmptyKey(root, subKey);
    }
};

class PowerRegistryTest : public ::testing::Test {
protected:
    PowerRegistryTest() : scope_(Install(registry_)) {}

    PowerClass At(const std::string& keyPath) const
    {
        PowerClass power;
        power.currentKeyPath = keyPath;
        return power;
    }
    const RegValue* Stored(RegRoot root, std::string_view subKey, std::string_view name) const
    {
        return registry_.tree.FindValue(root, subKey, name);
    }

    ProbeRegistry registry_;

private:
    static platform::Services Install(ProbeRegistry& registry)
    {
        platform::Services services;
        services.registry = &registry;
        return services;
    }
    platform::ScopedServices scope_;
};

TEST_F(PowerRegistryTest, PathsWithoutARecognisedRootReachNothing)
{
    ASSERT_TRUE(registry_.tree.SetValue(RegRoot::CurrentUser, "Software", "v", RegValue::String("there")));
    ASSERT_TRUE(registry_.tree.SetValue(RegRoot::LocalMachine, "Software", "v", RegValue::String("there")));
    for (const char* path : {"HKEY_CLASSES_ROOT\\\\Software", "hkey_current_user\\\\Software",
                             "HKEY_Local_Machine\\\\Software", "HKCU\\\\Software", "HKEY_USERS\\\\Software",
                             "HKEY_CURRENT_USE", "", " HKEY_CURRENT_USER\\\\Software"}) {
        SCOPED_TRACE(path);
        const PowerClass power = At(path);
        EXPECT_EQ(power.ReadStringValue(RegistryLocation::FromPath, "v"), kNotFound);
        EXPECT_EQ(power.ReadDwordValue(RegistryLocation::FromPath, "v"), 1);
        EXPECT_FALSE(power.WriteStringValue(RegistryLocation::FromPath, "w", "x"));
        EXPECT_FALSE(power.WriteDwordValue(RegistryLocation::FromPath, "w", 5));
        EXPECT_FALSE(power.ReadRawValue("v"));
        EXPECT_EQ(power.currentKeyPath, path);
    }
    EXPECT_TRUE(registry_.subKeys.empty());
    EXPECT_EQ(registry_.tree.ValueCount(), 2u);
}

TEST_F(PowerRegistryTest, ARootAloneReadsAsNotFoundButWritesToTheRootKey)
{
    const struct {
        const char* path;
        RegRoot root;
    } cases[] = {
        {"HKEY_CURRENT_USER", RegRoot::CurrentUser},   {"HKEY_CURRENT_USER\\", RegRoot::CurrentUser},
        {"HKEY_CURRENT_USER\\\\", RegRoot::CurrentUser}, {"HKEY_LOCAL_MACHINE", RegRoot::LocalMachine},
        {"HKEY_LOCAL_MACHINE\\\\", RegRoot::LocalMachine},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        registry_.tree = regfile::RegistryTree();
        ASSERT_TRUE(registry_.tree.SetValue(c.root, "", "v", RegValue::String("at root")));
        const PowerClass power = At(c.path);
        EXPECT_EQ(power.ReadStringValue(RegistryLocation::FromPath, "v"), kNotFound);
        EXPECT_EQ(power.ReadDwordValue(RegistryLocation::FromPath, "v"), 1);
        EXPECT_TRUE(power.WriteStringValue(RegistryLocation::FromPath, "s", "text"));
        EXPECT_TRUE(power.WriteDwordValue(RegistryLocation::FromPath, "d", 9));
        ASSERT_NE(Stored(c.root, "", "s"), nullptr);
        EXPECT_EQ(Stored(c.root, "", "s")->data, RegValue::String("text").data);
        EXPECT_EQ(Stored(c.root, "", "d")->data, RegValue::Dword(9).data);
        const auto raw = power.ReadRawValue("v");
        ASSERT_TRUE(raw);
        EXPECT_EQ(raw.Value().data, RegValue::String("at root").data);
    }
}

TEST_F(PowerRegistryTest, DoubledSeparatorsReachTheRegistryUnchanged)
{
    ASSERT_TRUE(
        registry_.tree.SetValue(RegRoot::CurrentUser, "Software\\Vendor", "Name", RegValue::String("Tunewright")));
    const PowerClass power = At("HKEY_CURRENT_USER\\\\Software\\\\Vendor");
    EXPECT_EQ(power.ReadStringValue(RegistryLocation::FromPath, "Name"), "Tunewright");
    EXPECT_EQ(registry_.subKeys, std::vector<std::string>{"Software\\\\Vendor"});

    // The two characters after the root name are cut without a look.
    EXPECT_EQ(At("HKEY_CURRENT_USERxySoftware\\Vendor").ReadStringValue(RegistryLocation::FromPath, "Name"),
              "Tunewright");
    EXPECT_EQ(At("HKEY_LOCAL_MACHINE\\\\Software\\\\Vendor").ReadStringValue(RegistryLocation::FromPath, "Name"),
              "");
}

TEST_F(PowerRegistryTest, KeysThatCannotBeOpened)
{
    ASSERT_TRUE(registry_.tree.SetValue(RegRoot::CurrentUser, "Locked", "v", RegValue::String("secret")));
    registry_.deniedKey = "Locked";
    for (const char* path : {"HKEY_CURRENT_USER\\\\Missing\\\\Key", "HKEY_CURRENT_USER\\\\Locked"}) {
        SCOPED_TRACE(path);
        const PowerClass power = At(path);
        EXPECT_EQ(power.ReadStringValue(RegistryLocation::FromPath, "v"), "");
        EXPECT_EQ(power.ReadDwordValue(RegistryLocation::FromPath, "v"), 0);
        EXPECT_FALSE(power.ReadRawValue("v"));
        EXPECT_FALSE(power.DeleteValue(RegistryLocation::FromPath, "v"));
    }
    EXPECT_FALSE(At("HKEY_CURRENT_USER\\\\Locked").WriteStringValue(RegistryLocation::FromPath, "v", "x"));
    EXPECT_FALSE(At("HKEY_CURRENT_USER\\\\Locked").WriteDwordValue(RegistryLocation::FromPath, "v", 1));
    EXPECT_EQ(Stored(RegRoot::CurrentUser, "Locked", "v")->data, RegValue::String("secret").data);
    EXPECT_FALSE(registry_.tree.KeyExists(RegRoot::CurrentUser, "Missing"));
    EXPECT_EQ(registry_.tree.ValueCount(), 1u);
}

TEST_F(PowerRegistryTest, MissingValuesReadAsEmptyAndZeroAndAreCreatedByWrites)
{
    ASSERT_TRUE(registry_.tree.CreateKey(RegRoot::CurrentUser, "K"));
    const PowerClass power = At("HKEY_CURRENT_USER\\\\K");
    EXPECT_EQ(power.ReadStringValue(RegistryLocation::FromPath, "v"), "");
    EXPECT_EQ(power.ReadDwordValue(RegistryLocation::FromPath, "v"), 0);
    EXPECT_EQ(power.DeleteValue(RegistryLocation::FromPath, "v").Error(), platform::RegError::ValueNotFound);

    // Writing below a key that does not exist creates it and its parents.
    const PowerClass deep = At("HKEY_CURRENT_USER\\\\New\\\\Deeper\\\\Key");
    EXPECT_TRUE(deep.WriteStringValue(RegistryLocation::FromPath, "s", "1"));
    EXPECT_TRUE(deep.WriteDwordValue(RegistryLocation::FromPath, "d", 400));
    EXPECT_TRUE(registry_.tree.KeyExists(RegRoot::CurrentUser, "New"));
    EXPECT_EQ(Stored(RegRoot::CurrentUser, "New\\Deeper\\Key", "s")->type, RegType::Sz);
    EXPECT_EQ(Stored(RegRoot::CurrentUser, "New\\Deeper\\Key", "s")->data, RegValue::String("1").data);
    EXPECT_EQ(Stored(RegRoot::CurrentUser, "New\\Deeper\\Key", "d")->type, RegType::Dword);
    EXPECT_EQ(deep.ReadStringValue(RegistryLocation::FromPath, "s"), "1");
    EXPECT_EQ(deep.ReadDwordValue(RegistryLocation::FromPath, "d"), 400);
}

TEST_F(PowerRegistryTest, StringReadsTakeRegSzAndRegExpandSzAndAllOfTheirText)
{
    const struct {
        const char* name;
        RegValue value;
        std::string read;
    } cases[] = {
        {"empty", RegValue::String(""), ""},
        {"no bytes", Raw(RegType::Sz, {}), ""},
        {"no bytes of another type", Raw(RegType::Dword, {}), ""},
        {"unterminated", Raw(RegType::Sz, {'a', 'b', 'c'}), "abc"},
        {"early zero", Raw(RegType::Sz, {'a', 0, 'b', 0}), "a"},
        {"8-bit", RegValue::String("\xC4rger \x80"), "\xC4rger \x80"},
        {"expand", Raw(RegType::ExpandSz, {'%', 'x', '%', '\\', 'a', 0}), "%x%\\a"},
        {"expand unterminated", Raw(RegType::ExpandSz, {'%', 'x', '%'}), "%x%"},
        {"multi", Raw(RegType::MultiSz, {'a', 0, 'b', 0, 0}), "No REG_SZ"},
        {"dword", RegValue::Dword(1), "No REG_SZ"},
        {"binary", Raw(RegType::Binary, {'a', 0}), "No REG_SZ"},
    };
    for (const auto& c : cases)
        ASSERT_TRUE(registry_.tree.SetValue(RegRoot::CurrentUser, "K", c.name, c.value));
    const PowerClass power = At("HKEY_CURRENT_USER\\\\K");
    for (const auto& c : cases)
        EXPECT_EQ(power.ReadStringValue(RegistryLocation::FromPath, c.name), c.read) << c.name;
}

TEST_F(PowerRegistryTest, DwordReadsTakeTheFirstFourBytesOfAnyType)
{
    const struct {
        const char* name;
        RegValue value;
        std::int32_t read;
    } cases[] = {
        {"all bits", RegValue::Dword(0xffffffff), -1},
        {"255", RegValue::Dword(255), 255},
        {"string", RegValue::String("12"), 0x3231},
        {"short", Raw(RegType::Binary, {0x01, 0x02, 0x03}), 0x030201},
        {"qword", Raw(RegType::Qword, {0x78, 0x56, 0x34, 0x12, 0xff, 0xff, 0xff, 0xff}), 0x12345678},
        {"no bytes", Raw(RegType::Dword, {}), 0},
    };
    for (const auto& c : cases)
        ASSERT_TRUE(registry_.tree.SetValue(RegRoot::CurrentUser, "K", c.name, c.value));
    const PowerClass power = At("HKEY_CURRENT_USER\\\\K");
    for (const auto& c : cases)
        EXPECT_EQ(power.ReadDwordValue(RegistryLocation::FromPath, c.name), c.read) << c.name;

    EXPECT_TRUE(power.WriteDwordValue(RegistryLocation::FromPath, "min", std::numeric_limits<std::int32_t>::min()));
    EXPECT_EQ(Stored(RegRoot::CurrentUser, "K", "min")->data, (std::vector<std::uint8_t>{0, 0, 0, 0x80}));
    EXPECT_EQ(power.ReadDwordValue(RegistryLocation::FromPath, "min"), std::numeric_limits<std::int32_t>::min());
}

TEST_F(PowerRegistryTest, WritesReplaceValuesOfAnotherTypeAndDeleteRemovesThem)
{
    ASSERT_TRUE(registry_.tree.SetValue(RegRoot::CurrentUser, "K", "was dword", RegValue::Dword(7)));
    ASSERT_TRUE(registry_.tree.SetValue(RegRoot::CurrentUser, "K", "was string", RegValue::String("7")));
    const PowerClass power = At("HKEY_CURRENT_USER\\\\K");
    EXPECT_TRUE(power.WriteStringValue(RegistryLocation::FromPath, "was dword", "8"));
    EXPECT_TRUE(power.WriteDwordValue(RegistryLocation::FromPath, "was string", 8));
    EXPECT_EQ(Stored(RegRoot::CurrentUser, "K", "was dword")->type, RegType::Sz);
    EXPECT_EQ(Stored(RegRoot::CurrentUser, "K", "was string")->type, RegType::Dword);

    // A text over an expandable text stays expandable; over any other type,
    // a REG_EXPAND_SZ written as a number included, it is a REG_SZ.
    ASSERT_TRUE(registry_.tree.SetValue(RegRoot::CurrentUser, "K", "expand", Raw(RegType::ExpandSz, {'%', 0})));
    ASSERT_TRUE(registry_.tree.SetValue(RegRoot::CurrentUser, "K", "multi", Raw(RegType::MultiSz, {'a', 0, 0})));
    ASSERT_TRUE(registry_.tree.SetValue(RegRoot::CurrentUser, "K", "expand dword", Raw(RegType::ExpandSz, {'%', 0})));
    EXPECT_TRUE(power.WriteStringValue(RegistryLocation::FromPath, "expand", "%USERPROFILE%\\Documents"));
    EXPECT_TRUE(power.WriteStringValue(RegistryLocation::FromPath, "multi", "b"));
    EXPECT_TRUE(power.WriteDwordValue(RegistryLocation::FromPath, "expand dword", 3));
    EXPECT_EQ(Stored(RegRoot::CurrentUser, "K", "expand")->type, RegType::ExpandSz);
    EXPECT_EQ(Stored(RegRoot::CurrentUser, "K", "expand")->data, RegValue::String("%USERPROFILE%\\Documents").data);
    EXPECT_EQ(Stored(RegRoot::CurrentUser, "K", "multi")->type, RegType::Sz);
    EXPECT_EQ(Stored(RegRoot::CurrentUser, "K", "expand dword")->type, RegType::Dword);

    ASSERT_TRUE(registry_.tree.SetValue(RegRoot::LocalMachine, "Software\\Orvelle\\Orvelle Kitbasket", "active",
                                        Raw(RegType::Binary, {1})));
    ASSERT_TRUE(registry_.tree.SetValue(RegRoot::CurrentUser, "Software\\Orvelle\\Orvelle Kitbasket", "active",
                                        RegValue::Dword(1)));
    const PowerClass closing = At("Software\\Orvelle\\Orvelle Kitbasket");
    EXPECT_TRUE(closing.DeleteValue(RegistryLocation::LocalMachine, "active"));
    EXPECT_EQ(Stored(RegRoot::LocalMachine, "Software\\Orvelle\\Orvelle Kitbasket", "active"), nullptr);
    EXPECT_NE(Stored(RegRoot::CurrentUser, "Software\\Orvelle\\Orvelle Kitbasket", "active"), nullptr);
    EXPECT_EQ(registry_.subKeys.back(), "Software\\Orvelle\\Orvelle Kitbasket");

    // Nothing there to delete: nothing changes, and the result says why.
    const std::size_t before = registry_.tree.ValueCount();
    EXPECT_EQ(closing.DeleteValue(RegistryLocation::LocalMachine, "active").Error(), platform::RegError::ValueNotFound);
    EXPECT_EQ(At("No\\Such\\Key").DeleteValue(RegistryLocation::LocalMachine, "active").Error(),
              platform::RegError::KeyNotFound);
    EXPECT_EQ(registry_.tree.ValueCount(), before);
}

TEST_F(PowerRegistryTest, LocalMachineTakesTheKeyPathAsASubKey)
{
    ASSERT_TRUE(registry_.tree.SetValue(RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Nls\\Language",
                                        "Default", RegValue::String("0407")));
    EXPECT_EQ(At("SYSTEM\\CurrentControlSet\\Control\\Nls\\Language")
                  .ReadStringValue(RegistryLocation::LocalMachine, "Default"),
              "0407");
    EXPECT_EQ(At("").ReadStringValue(RegistryLocation::LocalMachine, "Default"), kNotFound);

    // The start-up question reads with the path form and doubled separators.
    ASSERT_TRUE(registry_.tree.SetValue(RegRoot::LocalMachine,
                                        "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", "EnableLUA",
                                        RegValue::Dword(1)));
    EXPECT_EQ(At("HKEY_LOCAL_MACHINE\\\\Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Policies\\\\System")
                  .ReadDwordValue(RegistryLocation::FromPath, "EnableLUA"),
              1);
}

TEST_F(PowerRegistryTest, ValuesOfAnyLengthGoBothWays)
{
    std::string text(100000, 'x');
    for (std::size_t i = 0; i < text.size(); i += 7)
        text[i] = static_cast<char>('A' + i % 26);
    const std::string longName(400, 'n');
    const PowerClass power = At("HKEY_CURRENT_USER\\\\K");
    EXPECT_TRUE(power.WriteStringValue(RegistryLocation::FromPath, longName, text));
    EXPECT_EQ(power.ReadStringValue(RegistryLocation::FromPath, longName), text);

    const auto raw = power.ReadRawValue(longName);
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw.Value().type, RegType::Sz);
    EXPECT_EQ(raw.Value().data.size(), text.size() + 1);
    EXPECT_EQ(power.ReadRawValue("absent").Error(), platform::RegError::ValueNotFound);
}

TEST(PowerRegistryWithoutService, FallsBackAsForAKeyThatCannotBeOpened)
{
    const platform::ScopedServices none{platform::Services{}};
    PowerClass power;
    power.currentKeyPath = "HKEY_CURRENT_USER\\\\K";
    EXPECT_EQ(power.ReadStringValue(RegistryLocation::FromPath, "v"), "");
    EXPECT_EQ(power.ReadDwordValue(RegistryLocation::FromPath, "v"), 0);
    EXPECT_FALSE(power.WriteStringValue(RegistryLocation::FromPath, "v", "x"));
    EXPECT_FALSE(power.DeleteValue(RegistryLocation::LocalMachine, "v"));
}

} // namespace
