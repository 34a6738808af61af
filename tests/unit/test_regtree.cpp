#include "toolkit/regstore/RegistryTree.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using tk::RegError;
using tk::RegRoot;
using tk::RegStatus;
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
    tree.ForEachKey([&](RegRoot root, const std::string& path, const tk::RegistryTree::ValueMap& values) {
        std::string line = std::string(tk::RootName(root)) + "\\" + path + ":";
        for (const auto& entry : values)
            line += " " + entry.first;
        lines.push_back(line);
    });
    return lines;
}

TEST(RegistryTree, NamesMatchWithoutCaseAndKeepTheirFirstSpelling)
{
    tk::RegistryTree tree;
    ASSERT_EQ(tree.SetValue(RegRoot::CurrentUser, "Software\\Vendor", "MenuDelay", RegValue::String("400")),
              RegStatus::Ok);

    const auto read = tree.QueryValue(RegRoot::CurrentUser, "SOFTWARE\\vendor", "menudelay");
    ASSERT_TRUE(read);
    EXPECT_EQ(read.Value().data, RegValue::String("400").data);

    tree.SetValue(RegRoot::CurrentUser, "software\\VENDOR", "MENUDELAY", RegValue::String("200"));
    EXPECT_EQ(tree.ValueCount(), 1u);
    EXPECT_EQ(tree.FindValue(RegRoot::CurrentUser, "Software\\Vendor", "MenuDelay")->data,
              RegValue::String("200").data);
    EXPECT_EQ(Listing(tree), (std::vector<std::string>{"HKEY_CURRENT_USER\\:", "HKEY_CURRENT_USER\\Software:",
                                                       "HKEY_CURRENT_USER\\Software\\Vendor: MenuDelay",
                                                       "HKEY_LOCAL_MACHINE\\:"}));

    // Windows-1252 letters fold as the registry folds them: Ä and ä, Š and š
    // are one name; the multiplication and division signs stay apart.
    tree.SetValue(RegRoot::CurrentUser, "K", "\xC4\x8A", RegValue::Dword(1));
    tree.SetValue(RegRoot::CurrentUser, "K", "\xE4\x9A", RegValue::Dword(2));
    tree.SetValue(RegRoot::CurrentUser, "K", "\xD7", RegValue::Dword(3));
    tree.SetValue(RegRoot::CurrentUser, "K", "\xF7", RegValue::Dword(4));
    EXPECT_EQ(tree.FindValue(RegRoot::CurrentUser, "K", "\xC4\x8A")->data, RegValue::Dword(2).data);
    EXPECT_EQ(tree.FindValue(RegRoot::CurrentUser, "K", "\xD7")->data, RegValue::Dword(3).data);
    EXPECT_EQ(tree.FindValue(RegRoot::CurrentUser, "K", "\xF7")->data, RegValue::Dword(4).data);
}

TEST(RegistryTree, SingleAndDoubledSeparatorsNameOneKey)
{
    tk::RegistryTree tree;
    tree.SetValue(RegRoot::CurrentUser, "Control Panel\\Desktop", "v", RegValue::String("x"));
    for (const char* spelling : {"Control Panel\\Desktop", "Control Panel\\\\Desktop", "\\Control Panel\\Desktop\\",
                                 "Control Panel\\\\\\Desktop", "\\\\Control Panel\\\\Desktop\\\\"}) {
        SCOPED_TRACE(spelling);
        EXPECT_TRUE(tree.QueryValue(RegRoot::CurrentUser, spelling, "v"));
    }
    EXPECT_FALSE(tree.QueryValue(RegRoot::CurrentUser, "Control PanelDesktop", "v"));

    // An empty sub-key, or separators only, name the root itself.
    tree.SetValue(RegRoot::LocalMachine, "", "atRoot", RegValue::Dword(7));
    EXPECT_TRUE(tree.QueryValue(RegRoot::LocalMachine, "\\\\", "atRoot"));
    EXPECT_EQ(tree.QueryValue(RegRoot::CurrentUser, "", "atRoot").Error(), RegError::ValueNotFound);
}

TEST(RegistryTree, KeepsTypesApartAndBytesOfAnyLength)
{
    tk::RegistryTree tree;
    tree.SetValue(RegRoot::CurrentUser, "K", "v", RegValue::String("1"));
    tree.SetValue(RegRoot::CurrentUser, "K", "v", RegValue::Dword(1));
    EXPECT_EQ(tree.FindValue(RegRoot::CurrentUser, "K", "v")->type, RegType::Dword);

    // Same bytes, different type: the type is part of the value.
    tree.SetValue(RegRoot::CurrentUser, "K", "expand", Raw(RegType::ExpandSz, {'%', 0}));
    EXPECT_EQ(tree.FindValue(RegRoot::CurrentUser, "K", "expand")->type, RegType::ExpandSz);

    std::vector<std::uint8_t> big(1 << 20);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<std::uint8_t>(i * 7);
    tree.SetValue(RegRoot::CurrentUser, "K", "big", Raw(static_cast<RegType>(0x1234), big));
    const RegValue* read = tree.FindValue(RegRoot::CurrentUser, "K", "big");
    EXPECT_EQ(read->type, static_cast<RegType>(0x1234));
    EXPECT_EQ(read->data, big);
}

TEST(RegistryTree, SetValueCreatesTheKeyAndItsParents)
{
    tk::RegistryTree tree;
    EXPECT_EQ(tree.QueryValue(RegRoot::CurrentUser, "A\\B\\C", "v").Error(), RegError::KeyNotFound);
    tree.SetValue(RegRoot::CurrentUser, "A\\B\\C", "v", RegValue::Dword(3));
    EXPECT_TRUE(tree.KeyExists(RegRoot::CurrentUser, "A"));
    EXPECT_TRUE(tree.KeyExists(RegRoot::CurrentUser, "A\\B"));
    EXPECT_TRUE(tree.KeyExists(RegRoot::CurrentUser, "A\\B\\C"));
    EXPECT_FALSE(tree.KeyExists(RegRoot::LocalMachine, "A"));
}

TEST(RegistryTree, DeletingWhatIsNotThereChangesNothing)
{
    tk::RegistryTree tree;
    tree.SetValue(RegRoot::CurrentUser, "A", "kept", RegValue::Dword(1));
    const auto before = Listing(tree);

    EXPECT_EQ(tree.DeleteValue(RegRoot::CurrentUser, "A", "missing"), RegStatus::ValueNotFound);
    EXPECT_EQ(tree.DeleteValue(RegRoot::CurrentUser, "A\\Missing", "kept"), RegStatus::KeyNotFound);
    EXPECT_EQ(tree.DeleteKey(RegRoot::CurrentUser, "A\\Missing"), RegStatus::KeyNotFound);
    EXPECT_EQ(tree.DeleteKey(RegRoot::CurrentUser, "Missing\\Deeper"), RegStatus::KeyNotFound);
    EXPECT_EQ(tree.DeleteKey(RegRoot::CurrentUser, "\\\\"), RegStatus::AccessDenied);
    EXPECT_EQ(Listing(tree), before);

    EXPECT_EQ(tree.DeleteValue(RegRoot::CurrentUser, "a", "KEPT"), RegStatus::Ok);
    EXPECT_EQ(tree.QueryValue(RegRoot::CurrentUser, "A", "kept").Error(), RegError::ValueNotFound);
}

TEST(RegistryTree, DeleteKeyRemovesEverythingBelow)
{
    tk::RegistryTree tree;
    tree.SetValue(RegRoot::CurrentUser, "A\\B\\C", "v", RegValue::Dword(1));
    tree.SetValue(RegRoot::CurrentUser, "A\\Other", "w", RegValue::Dword(2));
    EXPECT_EQ(tree.DeleteKey(RegRoot::CurrentUser, "a\\\\b"), RegStatus::Ok);
    EXPECT_FALSE(tree.KeyExists(RegRoot::CurrentUser, "A\\B"));
    EXPECT_FALSE(tree.KeyExists(RegRoot::CurrentUser, "A\\B\\C"));
    EXPECT_TRUE(tree.QueryValue(RegRoot::CurrentUser, "A\\Other", "w"));
    EXPECT_EQ(tree.ValueCount(), 1u);
}

TEST(RegistryTree, VisitsKeysInCaseInsensitiveOrderRootsApart)
{
    tk::RegistryTree tree;
    tree.CreateKey(RegRoot::LocalMachine, "z");
    tree.SetValue(RegRoot::CurrentUser, "b", "y", RegValue::Dword(1));
    tree.SetValue(RegRoot::CurrentUser, "b", "X", RegValue::Dword(1));
    tree.CreateKey(RegRoot::CurrentUser, "C\\d");
    tree.CreateKey(RegRoot::CurrentUser, "a");
    EXPECT_EQ(Listing(tree),
              (std::vector<std::string>{"HKEY_CURRENT_USER\\:", "HKEY_CURRENT_USER\\a:", "HKEY_CURRENT_USER\\b: X y",
                                        "HKEY_CURRENT_USER\\C:", "HKEY_CURRENT_USER\\C\\d:", "HKEY_LOCAL_MACHINE\\:",
                                        "HKEY_LOCAL_MACHINE\\z:"}));
}

} // namespace
