// Changes of many values at once through the registry interface: removing a
// key only when it holds nothing, and the default of ApplyChanges, which puts
// everything back when a step fails.
#include "unit/RegTreeOf.h"
#include "unit/RegistryChanges.h"

#include "regfile/RegFile.h"
#include "regfile/RegistryTree.h"

#include <gtest/gtest.h>

namespace {

using platform::RegRoot;

// A tree whose `failAt`-th change fails, as a registry that refuses one step
// in the middle of a change; it takes the changes that put things back.
class FailingRegistry final : public platform::IRegistry {
public:
    FailingRegistry(regfile::RegistryTree tree, int failAt) : tree_(std::move(tree)), left_(failAt) {}

    platform::Result<platform::RegValue, platform::RegFault> QueryValue(RegRoot root, std::string_view subKey,
                                                                        std::string_view name) override
    {
        return tree_.QueryValue(root, subKey, name);
    }
    platform::RegResult SetValue(RegRoot root, std::string_view subKey, std::string_view name,
                                 const platform::RegValue& value) override
    {
        if (Refuse())
            return platform::RegFault(platform::RegError::WriteFailed, "refused");
        return tree_.SetValue(root, subKey, name, value);
    }
    platform::RegResult DeleteValue(RegRoot root, std::string_view subKey, std::string_view name) override
    {
        if (Refuse())
            return platform::RegFault(platform::RegError::WriteFailed, "refused");
        return tree_.DeleteValue(root, subKey, name);
    }
    platform::Result<bool, platform::RegFault> DeleteEmptyKey(RegRoot root, std::string_view subKey) override
    {
        if (Refuse())
            return platform::RegFault(platform::RegError::WriteFailed, "refused");
        return tree_.DeleteEmptyKey(root, subKey);
    }
    const regfile::RegistryTree& Tree() const { return tree_; }

private:
    bool Refuse() { return left_ >= 0 && left_-- == 0; }

    regfile::RegistryTree tree_;
    int left_;
};

std::string Text(const regfile::RegistryTree& tree)
{
    return regfile::SerialiseRegFile(tree);
}

} // namespace

TEST(RegistryChanges, EachRowGivesItsTextInATree)
{
    for (const ChangesCase& c : ChangesCases()) {
        SCOPED_TRACE(c.what);
        regfile::RegistryTree tree = TreeOf(std::string("REGEDIT4\r\n") + c.before);
        ASSERT_TRUE(tree.ApplyChanges(c.values, c.emptyKeys));
        EXPECT_EQ(Text(tree), Text(TreeOf(std::string("REGEDIT4\r\n") + c.after)));
    }
}

TEST(RegistryChanges, AStepThatFailsPutsBackEveryValueAndRemovesTheKeysItsWritesMade)
{
    const std::string before = "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"1\"\r\n\"y\"=dword:00000002\r\n"
                               "[HKEY_CURRENT_USER\\Empty]\r\n";
    const std::vector<platform::RegValueChange> values = {SetTo("A", "x", "9"), Remove("A", "y"),
                                                          SetTo("Empty\\New\\Deeper", "z", "1"), SetTo("A", "w", "4")};
    // Each step fails once: a write, the removal, the write that makes keys,
    // the last write, and the removal of an empty key at the end.
    for (int failAt = 0; failAt <= 4; ++failAt) {
        SCOPED_TRACE(failAt);
        FailingRegistry registry(TreeOf(before), failAt);
        const platform::RegResult result = registry.ApplyChanges(values, {Key("Empty\\Gone")});
        ASSERT_FALSE(result);
        EXPECT_EQ(result.Error().cause, "refused");
        EXPECT_EQ(Text(registry.Tree()), Text(TreeOf(before))) << "the empty key that was there stays";
    }
    FailingRegistry registry(TreeOf(before), 5);
    ASSERT_TRUE(registry.ApplyChanges(values, {Key("Empty\\Gone")}));
    EXPECT_EQ(Text(registry.Tree()),
              Text(TreeOf("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"9\"\r\n\"w\"=\"4\"\r\n"
                          "[HKEY_CURRENT_USER\\Empty\\New\\Deeper]\r\n\"z\"=\"1\"\r\n")));
}

TEST(RegistryChanges, FirstMissingKeyIsTheOutermostKeyAWriteWouldMake)
{
    regfile::RegistryTree tree = TreeOf("REGEDIT4\r\n[HKEY_CURRENT_USER\\A\\B]\r\n");
    const auto missing = [&tree](const char* subKey) {
        const auto found = platform::FirstMissingKey(tree, Key(subKey));
        return found && found.Value() ? found.Value()->subKey : std::string(found ? "<there>" : "<fault>");
    };
    EXPECT_EQ(missing("A\\B\\C\\D"), "A\\B\\C");
    EXPECT_EQ(missing("A\\\\X"), "A\\X");
    EXPECT_EQ(missing("Z"), "Z");
    EXPECT_EQ(missing("a\\b"), "<there>");
    EXPECT_EQ(missing("\\A"), "<fault>");
}

TEST(RegistryChanges, AChangeKeepsItsNameAndDataThroughCopiesMovesAndALaterLine)
{
    // Either side of the size up to which name and data lie in the change
    // itself, and a name that comes out of the change's own bytes.
    struct Bytes {
        std::string name;
        std::string data;
    };
    const std::vector<Bytes> sizes = {{"", ""}, {"n", "0123456789"}, {"nm", "0123456789"}, {"a longer name", "x"},
                                      {"", std::string(300, 'd')}};
    const auto change = [](const Bytes& b) {
        return platform::RegValueChange(platform::ShareKey(Key("K")), b.name,
                                        platform::RegValue{platform::RegType::Binary,
                                                           std::vector<std::uint8_t>(b.data.begin(), b.data.end())});
    };
    const auto expect = [](const platform::RegValueChange& c, const Bytes& name, const Bytes& data) {
        EXPECT_EQ(c.Name(), name.name);
        const std::optional<platform::RegValue> value = c.Value();
        ASSERT_TRUE(value);
        EXPECT_EQ(std::string(value->data.begin(), value->data.end()), data.data);
    };
    for (const Bytes& first : sizes)
        for (const Bytes& other : sizes) {
            SCOPED_TRACE(first.name + "=" + first.data + " / " + other.name + "=" + other.data);
            platform::RegValueChange original = change(first);
            platform::RegValueChange copy(original);
            platform::RegValueChange moved(std::move(copy));
            EXPECT_EQ(copy.Name(), "");
            EXPECT_FALSE(copy.HasValue());
            expect(moved, first, first);
            platform::RegValueChange assigned = change(other);
            assigned = moved;
            expect(assigned, first, first);
            platform::RegValueChange moveAssigned = change(other);
            moveAssigned = std::move(assigned);
            expect(moveAssigned, first, first);
            moveAssigned.TakeValueOf(change(other));
            expect(moveAssigned, first, other);
            expect(original, first, first);
        }
}
