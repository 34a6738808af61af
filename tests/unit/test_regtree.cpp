#include "platform/RegNames.h"
#include "regfile/RegistryTree.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using tk::RegError;
using tk::RegRoot;
using tk::RegType;
using tk::RegValue;

RegValue Raw(RegType type, std::vector<std::uint8_t> data)
{
    return RegValue{type, std::move(data)};
}

// Every key as "ROOT\path" with its value names, in visiting order.
std::vector<std::string> Listing(const tk::RegistryTree& tree)
{
    std::vector<std::string> lines;
    tree.ForEachKey([&](RegRoot root, const std::string& path, const tk::RegistryTree::KeyView& key) {
        std::string line = std::string(tk::RootName(root)) + "\\" + path + ":";
        for (const auto& entry : key.values)
            line += " " + entry.first;
        lines.push_back(line);
    });
    return lines;
}

TEST(RegistryTree, NamesMatchWithoutCaseAndKeepTheirFirstSpelling)
{
    tk::RegistryTree tree;
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "Software\\Vendor", "MenuDelay", RegValue::String("400")));

    const auto read = tree.QueryValue(RegRoot::CurrentUser, "SOFTWARE\\vendor", "menudelay");
    ASSERT_TRUE(read);
    EXPECT_EQ(read.Value().data, RegValue::String("400").data);

    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "software\\VENDOR", "MENUDELAY", RegValue::String("200")));
    EXPECT_EQ(tree.ValueCount(), 1u);
    EXPECT_EQ(tree.FindValue(RegRoot::CurrentUser, "Software\\Vendor", "MenuDelay")->data,
              RegValue::String("200").data);
    EXPECT_EQ(Listing(tree), (std::vector<std::string>{"HKEY_CLASSES_ROOT\\:", "HKEY_CURRENT_USER\\:",
                                                       "HKEY_CURRENT_USER\\Software:",
                                                       "HKEY_CURRENT_USER\\Software\\Vendor: MenuDelay",
                                                       "HKEY_LOCAL_MACHINE\\:", "HKEY_USERS\\:",
                                                       "HKEY_CURRENT_CONFIG\\:"}));

    // Windows-1252 letters fold as the registry folds them: Ä and ä, Š and š
    // are one name; the multiplication and division signs stay apart.
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "K", "\xC4\x8A", RegValue::Dword(1)));
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "K", "\xE4\x9A", RegValue::Dword(2)));
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "K", "\xD7", RegValue::Dword(3)));
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "K", "\xF7", RegValue::Dword(4)));
    EXPECT_EQ(tree.FindValue(RegRoot::CurrentUser, "K", "\xC4\x8A")->data, RegValue::Dword(2).data);
    EXPECT_EQ(tree.FindValue(RegRoot::CurrentUser, "K", "\xD7")->data, RegValue::Dword(3).data);
    EXPECT_EQ(tree.FindValue(RegRoot::CurrentUser, "K", "\xF7")->data, RegValue::Dword(4).data);
}

TEST(RegistryTree, SingleAndDoubledSeparatorsNameOneKey)
{
    tk::RegistryTree tree;
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "Control Panel\\Desktop", "v", RegValue::String("x")));
    for (const char* spelling : {"Control Panel\\Desktop", "Control Panel\\\\Desktop", "Control Panel\\Desktop\\",
                                 "Control Panel\\\\\\Desktop", "Control Panel\\\\Desktop\\\\"}) {
        SCOPED_TRACE(spelling);
        EXPECT_TRUE(tree.QueryValue(RegRoot::CurrentUser, spelling, "v"));
    }
    EXPECT_FALSE(tree.QueryValue(RegRoot::CurrentUser, "Control PanelDesktop", "v"));

    // An empty sub-key names the root itself.
    ASSERT_TRUE(tree.SetValue(RegRoot::LocalMachine, "", "atRoot", RegValue::Dword(7)));
    EXPECT_TRUE(tree.QueryValue(RegRoot::LocalMachine, "", "atRoot"));
    EXPECT_EQ(tree.QueryValue(RegRoot::CurrentUser, "", "atRoot").Error(), RegError::ValueNotFound);

    // A leading separator puts an empty key name first: no key, as Windows
    // refuses it, and nothing is created or removed.
    const auto before = Listing(tree);
    for (const char* spelling : {"\\Control Panel\\Desktop", "\\\\Control Panel", "\\", "\\\\"}) {
        SCOPED_TRACE(spelling);
        EXPECT_EQ(tree.QueryValue(RegRoot::CurrentUser, spelling, "v").Error(), RegError::BadKeyPath);
        EXPECT_EQ(tree.SetValue(RegRoot::CurrentUser, spelling, "v", RegValue::Dword(1)).Error(), RegError::BadKeyPath);
        EXPECT_EQ(tree.DeleteValue(RegRoot::CurrentUser, spelling, "v").Error(), RegError::BadKeyPath);
        EXPECT_EQ(tree.CreateKey(RegRoot::CurrentUser, spelling).Error(), RegError::BadKeyPath);
        EXPECT_EQ(tree.DeleteKey(RegRoot::CurrentUser, spelling).Error(), RegError::BadKeyPath);
    }
    EXPECT_EQ(Listing(tree), before);
}

TEST(RegistryNames, AKeysIdentityFoldsItsNamesAndJoinsThemWithSingleSeparators)
{
    // Spellings around the steps of eight bytes in which names are folded.
    const struct {
        const char* subKey;
        const char* names;
    } cases[] = {
        {"", ""},
        {"ABCDEFGH\\IJKLMNOP\\Q", "\\abcdefgh\\ijklmnop\\q"},
        {"AB\\\\CDEFGHIJKLMNOP", "\\ab\\cdefghijklmnop"},
        {"ABCDEFG\\\\HIJ", "\\abcdefg\\hij"},
        {"ABCDEFG\\\\HIJKLMN", "\\abcdefg\\hijklmn"},
        {"A\\\\\\B", "\\a\\b"},
        {"ABCDEFG\\", "\\abcdefg"},
        {"ABCDEFGH\\", "\\abcdefgh"},
        {"\xC4RGER \x8A\\@AZ[`az{\xD7\xDE", "\\\xE4rger \x9A\\@az[`az{\xD7\xFE"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tk::KeyIdentity({RegRoot::LocalMachine, c.subKey}), "2" + std::string(c.names)) << c.subKey;
}

TEST(RegistryTree, KeepsTypesApartAndBytesOfAnyLength)
{
    tk::RegistryTree tree;
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "K", "v", RegValue::String("1")));
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "K", "v", RegValue::Dword(1)));
    EXPECT_EQ(tree.FindValue(RegRoot::CurrentUser, "K", "v")->type, RegType::Dword);

    // Same bytes, different type: the type is part of the value.
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "K", "expand", Raw(RegType::ExpandSz, {'%', 0})));
    EXPECT_EQ(tree.FindValue(RegRoot::CurrentUser, "K", "expand")->type, RegType::ExpandSz);

    std::vector<std::uint8_t> big(1 << 20);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "K", "big", Raw(static_cast<RegType>(0x1234), big)));
    const RegValue* read = tree.FindValue(RegRoot::CurrentUser, "K", "big");
    EXPECT_EQ(read->type, static_cast<RegType>(0x1234));
    EXPECT_EQ(read->data, big);
}

TEST(RegistryTree, SetValueCreatesTheKeyAndItsParents)
{
    tk::RegistryTree tree;
    EXPECT_EQ(tree.QueryValue(RegRoot::CurrentUser, "A\\B\\C", "v").Error(), RegError::KeyNotFound);
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "A\\B\\C", "v", RegValue::Dword(3)));
    EXPECT_TRUE(tree.KeyExists(RegRoot::CurrentUser, "A"));
    EXPECT_TRUE(tree.KeyExists(RegRoot::CurrentUser, "A\\B"));
    EXPECT_TRUE(tree.KeyExists(RegRoot::CurrentUser, "A\\B\\C"));
    EXPECT_FALSE(tree.KeyExists(RegRoot::LocalMachine, "A"));
}

TEST(RegistryTree, DeletingWhatIsNotThereChangesNothing)
{
    tk::RegistryTree tree;
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "A", "kept", RegValue::Dword(1)));
    const auto before = Listing(tree);

    EXPECT_EQ(tree.DeleteValue(RegRoot::CurrentUser, "A", "missing").Error(), RegError::ValueNotFound);
    EXPECT_EQ(tree.DeleteValue(RegRoot::CurrentUser, "A\\Missing", "kept").Error(), RegError::KeyNotFound);
    EXPECT_EQ(tree.DeleteKey(RegRoot::CurrentUser, "A\\Missing").Error(), RegError::KeyNotFound);
    EXPECT_EQ(tree.DeleteKey(RegRoot::CurrentUser, "Missing\\Deeper").Error(), RegError::KeyNotFound);
    EXPECT_EQ(tree.DeleteKey(RegRoot::CurrentUser, "").Error(), RegError::AccessDenied);
    EXPECT_EQ(Listing(tree), before);

    EXPECT_TRUE(tree.DeleteValue(RegRoot::CurrentUser, "a", "KEPT"));
    EXPECT_EQ(tree.QueryValue(RegRoot::CurrentUser, "A", "kept").Error(), RegError::ValueNotFound);
}

TEST(RegistryTree, DeleteKeyRemovesEverythingBelow)
{
    tk::RegistryTree tree;
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "A\\B\\C", "v", RegValue::Dword(1)));
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "A\\Other", "w", RegValue::Dword(2)));
    EXPECT_TRUE(tree.DeleteKey(RegRoot::CurrentUser, "a\\\\b"));
    EXPECT_FALSE(tree.KeyExists(RegRoot::CurrentUser, "A\\B"));
    EXPECT_FALSE(tree.KeyExists(RegRoot::CurrentUser, "A\\B\\C"));
    EXPECT_TRUE(tree.QueryValue(RegRoot::CurrentUser, "A\\Other", "w"));
    EXPECT_EQ(tree.ValueCount(), 1u);
}

TEST(RegistryTree, VisitsKeysInCaseInsensitiveOrderRootsApart)
{
    tk::RegistryTree tree;
    ASSERT_TRUE(tree.CreateKey(RegRoot::LocalMachine, "z"));
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "b", "y", RegValue::Dword(1)));
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "b", "X", RegValue::Dword(1)));
    ASSERT_TRUE(tree.CreateKey(RegRoot::CurrentUser, "C\\d"));
    ASSERT_TRUE(tree.CreateKey(RegRoot::CurrentUser, "a"));
    ASSERT_TRUE(tree.CreateKey(RegRoot::Users, "z"));
    EXPECT_EQ(Listing(tree),
              (std::vector<std::string>{"HKEY_CLASSES_ROOT\\:", "HKEY_CURRENT_USER\\:", "HKEY_CURRENT_USER\\a:",
                                        "HKEY_CURRENT_USER\\b: X y", "HKEY_CURRENT_USER\\C:",
                                        "HKEY_CURRENT_USER\\C\\d:", "HKEY_LOCAL_MACHINE\\:", "HKEY_LOCAL_MACHINE\\z:",
                                        "HKEY_USERS\\:", "HKEY_USERS\\z:", "HKEY_CURRENT_CONFIG\\:"}));
}

} // namespace
