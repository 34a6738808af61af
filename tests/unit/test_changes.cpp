// Changes of many values from registry files: what a backup's name says, what
// a backup restores (its values, and the keys its change created, in the
// comment form and the older [-KEY] form), what a profile applies, how undoing
// several backups lets the oldest win, and the backup of a change.
#include "unit/RegTreeOf.h"
#include "unit/TempAppFolder.h"

#include "backup/BackupFolder.h"
#include "backup/Stamp.h"
#include "changes/CarryOut.h"
#include "changes/ChangeSet.h"
#include "regfile/RegFile.h"
#include "regfile/RegFileBytes.h"
#include "regfile/RegValueLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

using namespace saving;
using namespace changes;

namespace {

using platform::RegRoot;

regfile::RegFileDocument Document(const std::string& text)
{
    const auto document = regfile::ParseRegFile(text, "file.reg");
    EXPECT_TRUE(document) << document.Error().Message();
    return document ? document.Value() : regfile::RegFileDocument{};
}

// The bytes of the plan's backup, its pieces put together.
std::string PlanBackup(const ChangePlan& plan)
{
    std::string bytes;
    WritePlanBackup(plan, [&bytes](std::string_view piece) { bytes += piece; });
    return bytes;
}

// "KEY\name=data" for each value, "KEY" for each key to remove when empty.
std::vector<std::string> Listing(const ChangeSet& changes)
{
    std::vector<std::string> lines;
    for (const platform::RegValueChange& v : changes.values)
        lines.push_back(backup::KeyText(*v.Key()) + "\\" + std::string(v.Name()) + "=" +
                        (v.HasValue() ? regfile::ValueDataText(platform::ExactRegValue{*v.Value(), false}) : "-"));
    for (const platform::RegKeyPath& key : changes.emptyKeys)
        lines.push_back(backup::KeyText(key));
    return lines;
}

std::vector<std::string> BackupListing(const std::string& text)
{
    const auto changes = BackupChanges(Document(text));
    EXPECT_TRUE(changes);
    return changes ? Listing(changes.Value()) : std::vector<std::string>{};
}

// A tree that says whether each read and change came while it was held.
class HeldTree final : public platform::IRegistry {
public:
    explicit HeldTree(regfile::RegistryTree& tree) : tree_(tree) {}
    int holds = 0;
    bool outsideHold = false;

    platform::Result<platform::RegValue, platform::RegFault> QueryValue(RegRoot root, std::string_view subKey,
                                                      std::string_view name) override
    {
        Note();
        return tree_.QueryValue(root, subKey, name);
    }
    platform::RegResult SetValue(RegRoot root, std::string_view subKey, std::string_view name,
                           const platform::RegValue& value) override
    {
        Note();
        return tree_.SetValue(root, subKey, name, value);
    }
    platform::RegResult DeleteValue(RegRoot root, std::string_view subKey, std::string_view name) override
    {
        Note();
        return tree_.DeleteValue(root, subKey, name);
    }
    platform::Result<bool, platform::RegFault> DeleteEmptyKey(RegRoot root, std::string_view subKey) override
    {
        Note();
        return tree_.DeleteEmptyKey(root, subKey);
    }
    void Exclusively(const std::function<void()>& work) override
    {
        ++holds;
        held_ = true;
        work();
        held_ = false;
    }

private:
    void Note() { outsideHold = outsideHold || !held_; }
    regfile::RegistryTree& tree_;
    bool held_ = false;
};

} // namespace

TEST(BackupNames, TheMinuteTheNameAndTheCopyNumber)
{
    struct Case {
        const char* file;
        std::optional<backup::BackupName> expected;
    };
    const Case cases[] = {
        {"backup - 20240305 - 09.05 - Menu delay.reg", backup::BackupName{"202403050905", "Menu delay", 1}},
        {"backup - 20240305 - 09.05 - Menu delay (3).reg", backup::BackupName{"202403050905", "Menu delay", 3}},
        {"backup - 20240305 - 09.05 - profile office (x).reg", backup::BackupName{"202403050905", "profile office (x)", 1}},
        {"backup - 20240305 - 09.05 - A (1).reg", backup::BackupName{"202403050905", "A (1)", 1}},
        {"backup - 20240305 - 09.05 - .reg", backup::BackupName{"202403050905", "", 1}},
        {"backup - 20240305 - 09.05 - Menu delay.txt", std::nullopt},
        {"backup - 2024035 - 09.05 - Menu delay.reg", std::nullopt},
        {"backup - 20240305 - 9.05 - Menu delay.reg", std::nullopt},
        {"backup - 20240305 - 09:05 - Menu delay.reg", std::nullopt},
        {"Backup - 20240305 - 09.05 - Menu delay.reg", std::nullopt},
        {"README.txt", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::optional<backup::BackupName> name = backup::ParseBackupName(c.file);
        ASSERT_EQ(name.has_value(), c.expected.has_value());
        if (name) {
            EXPECT_EQ(name->stamp, c.expected->stamp);
            EXPECT_EQ(name->name, c.expected->name);
            EXPECT_EQ(name->copy, c.expected->copy);
        }
    }
    EXPECT_EQ(backup::StampMinuteText("202403050905"), "2024-03-05T09:05");
}

TEST(BackupNames, TheFolderListsBackupsNewestFirst)
{
    TempAppFolder folder;
    const auto write = [&folder](const std::string& name, int minutesAgo) {
        folder.Write(name, "REGEDIT4");
        std::filesystem::last_write_time(folder.Folder() / name, std::filesystem::file_time_type::clock::now() -
                                                                     std::chrono::minutes(minutesAgo));
    };
    // Within one minute the time of writing decides, then the copy number.
    write("backup - 20240305 - 09.05 - B.reg", 3);
    write("backup - 20240305 - 09.05 - A.reg", 2);
    write("backup - 20240305 - 09.05 - A (2).reg", 2);
    write("backup - 20240305 - 09.06 - Z.reg", 9);
    write("backup - 20231231 - 23.59 - Y.reg", 0);
    write("README.txt", 0);
    std::vector<std::string> order;
    const auto listed = backup::ListBackups(folder.Folder().string());
    ASSERT_TRUE(listed);
    for (const backup::BackupFile& backup : listed.Value())
        order.push_back(backup.fileName);
    EXPECT_EQ(order, (std::vector<std::string>{"backup - 20240305 - 09.06 - Z.reg", "backup - 20240305 - 09.05 - A (2).reg",
                                               "backup - 20240305 - 09.05 - A.reg", "backup - 20240305 - 09.05 - B.reg",
                                               "backup - 20231231 - 23.59 - Y.reg"}));
}

TEST(ChangeSets, ABackupRestoresItsValuesAndRemovesTheKeysItsChangeCreatedWhenEmpty)
{
    struct Case {
        const char* what;
        const char* text;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"a value, a DWORD and one that was not there",
         "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"1\"\r\n\"d\"=dword:000000ff\r\n\"gone\"=-",
         {"HKEY_CURRENT_USER\\A\\x=\"1\"", "HKEY_CURRENT_USER\\A\\d=dword:000000ff", "HKEY_CURRENT_USER\\A\\gone=-"}},
        {"a later line for the same value, in any letter case, wins in the place of the first",
         "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"1\"\r\n\"y\"=\"2\"\r\n[hkey_current_user\\a]\r\n\"X\"=-\r\n",
         {"HKEY_CURRENT_USER\\A\\x=-", "HKEY_CURRENT_USER\\A\\y=\"2\""}},
        {"the comment names the created key: the keys from the value's key up to it go when empty",
         "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\New\\Deeper]\r\n\"Text\"=-\r\n"
         "; created by this change: [HKEY_CURRENT_USER\\Software\\New]",
         {"HKEY_CURRENT_USER\\Software\\New\\Deeper\\Text=-", "HKEY_CURRENT_USER\\Software\\New\\Deeper",
          "HKEY_CURRENT_USER\\Software\\New"}},
        {"the comment before the key line, blanks and another spelling",
         "REGEDIT4\r\n;created by this change:   [hkey_local_machine\\SOFTWARE\\New]  \r\n"
         "[HKEY_LOCAL_MACHINE\\Software\\New]\r\n\"v\"=-\r\n",
         {"HKEY_LOCAL_MACHINE\\Software\\New\\v=-", "HKEY_LOCAL_MACHINE\\SOFTWARE\\New"}},
        {"an older backup's [-KEY] is such a comment: the key goes only when empty",
         "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\New\\Deeper]\r\n\"Text\"=-\r\n[-HKEY_CURRENT_USER\\Software\\New]",
         {"HKEY_CURRENT_USER\\Software\\New\\Deeper\\Text=-", "HKEY_CURRENT_USER\\Software\\New\\Deeper",
          "HKEY_CURRENT_USER\\Software\\New"}},
        {"other comments change nothing",
         "REGEDIT4\r\n; created by this change\r\n; created by this change: [-HKEY_CURRENT_USER\\X]\r\n"
         "; created by this change: [HKEY_USERS\\X]\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=-",
         {"HKEY_CURRENT_USER\\A\\x=-"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(BackupListing(c.text), c.expected);
    }
}

TEST(ChangeSets, FilesUnderOtherRootsAndProfilesThatRemoveKeysAreRefusedByLine)
{
    const auto fault = [](const platform::Result<ChangeSet, ChangeFileFault>& result) {
        EXPECT_FALSE(result);
        return result ? std::string() : std::to_string(result.Error().line) + " " + result.Error().key;
    };
    EXPECT_EQ(fault(BackupChanges(Document("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\r\n[HKEY_CLASSES_ROOT\\.reg]\r\n"))),
              "4 HKEY_CLASSES_ROOT\\.reg");
    const auto removes = ProfileChanges(Document("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"1\"\r\n[-HKEY_CURRENT_USER\\A\\B]"));
    EXPECT_EQ(fault(removes), "4 HKEY_CURRENT_USER\\A\\B");
    EXPECT_EQ(removes.Error().kind, ChangeFileFault::Kind::RemovesKey);
    // A profile's comments name no keys to remove.
    const auto profile = ProfileChanges(Document("REGEDIT4\r\n; created by this change: [HKEY_CURRENT_USER\\A]\r\n"
                                                 "[HKEY_CURRENT_USER\\A]\r\n\"x\"=-"));
    ASSERT_TRUE(profile);
    EXPECT_EQ(Listing(profile.Value()), std::vector<std::string>{"HKEY_CURRENT_USER\\A\\x=-"});
}

TEST(ChangeSets, AValueIsFoundAgainByItsKeyInAnySpellingAndItsNameInAnyCase)
{
    std::string many, manyAgain;
    std::vector<std::string> manyListing;
    for (int i = 0; i < 40; ++i) {
        const std::string name = "v" + std::to_string(i);
        many += "\"" + name + "\"=\"1\"\r\n";
        manyAgain += "\"" + name + "\"=\"2\"\r\n";
        manyListing.push_back("HKEY_CURRENT_USER\\A\\" + name + "=\"2\"");
    }
    // Their places in the index meet: only the key tells them apart.
    std::string keys;
    std::vector<std::string> keysListing;
    for (int i = 0; i < 300; ++i) {
        keys += "[HKEY_CURRENT_USER\\K" + std::to_string(i) + "]\r\n\"Value\"=\"1\"\r\n";
        keysListing.push_back("HKEY_CURRENT_USER\\K" + std::to_string(i) + "\\Value=\"1\"");
    }
    struct Case {
        const char* what;
        std::string text; // after "REGEDIT4"
        std::vector<std::string> listing;
    };
    const Case cases[] = {
        {"a later line in another spelling gives the first its data",
         "[HKEY_CURRENT_USER\\A\\B]\r\n\"Name\"=\"1\"\r\n\"y\"=\"1\"\r\n[hkey_current_user\\a\\\\b]\r\n\"NAME\"=\"2\"\r\n",
         {"HKEY_CURRENT_USER\\A\\B\\Name=\"2\"", "HKEY_CURRENT_USER\\A\\B\\y=\"1\""}},
        {"the same name under another key, or another root, is another value",
         "[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"1\"\r\n[HKEY_CURRENT_USER\\A\\B]\r\n\"x\"=\"2\"\r\n"
         "[HKEY_LOCAL_MACHINE\\A]\r\n\"x\"=\"3\"\r\n",
         {"HKEY_CURRENT_USER\\A\\x=\"1\"", "HKEY_CURRENT_USER\\A\\B\\x=\"2\"", "HKEY_LOCAL_MACHINE\\A\\x=\"3\""}},
        {"many values, each once, in the order first named",
         "[HKEY_CURRENT_USER\\A]\r\n" + many + "[HKEY_CURRENT_USER\\A]\r\n" + manyAgain, manyListing},
        {"one name under hundreds of keys, a value under each", keys, keysListing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ChangeSet set = ProfileChanges(Document("REGEDIT4\r\n" + c.text)).Value();
        EXPECT_EQ(Listing(set), c.listing);
        EXPECT_EQ(Listing(UndoChanges({set, set})), c.listing) << "as an undo of two backups of the same values";
    }
    const ChangeSet shared = ProfileChanges(Document("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"1\"\r\n\"y\"=\"1\"\r\n")).Value();
    EXPECT_EQ(shared.values[0].Key(), shared.values[1].Key()) << "a section's values share its key";
}

TEST(ChangeSets, UndoingSeveralBackupsLeavesWhatTheOldestHeld)
{
    const auto set = [](const std::string& text) { return BackupChanges(Document(text)).Value(); };
    const ChangeSet newest = set("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"2\"\r\n\"y\"=\"b\"");
    const ChangeSet oldest = set("REGEDIT4\r\n[HKEY_CURRENT_USER\\A\\New]\r\n\"z\"=-\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=-\r\n"
                                 "; created by this change: [HKEY_CURRENT_USER\\A\\New]");
    EXPECT_EQ(Listing(UndoChanges({newest, oldest})),
              (std::vector<std::string>{"HKEY_CURRENT_USER\\A\\x=-", "HKEY_CURRENT_USER\\A\\y=\"b\"",
                                        "HKEY_CURRENT_USER\\A\\New\\z=-", "HKEY_CURRENT_USER\\A\\New"}));
}

TEST(ChangeSets, APlanDropsWhatIsAlreadySoAndItsBackupRestoresTheRest)
{
    regfile::RegistryTree registry = TreeOf("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"same\"=\"1\"\r\n\"x\"=hex(2):25,00\r\n"
                                       "\"d\"=dword:00000001\r\n");
    const ChangeSet changes =
        ProfileChanges(Document("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"same\"=\"1\"\r\n\"x\"=\"new\"\r\n\"d\"=-\r\n"
                                "\"absent\"=-\r\n[HKEY_CURRENT_USER\\B\\C]\r\n\"n\"=dword:00000002\r\n"
                                "[HKEY_CURRENT_USER\\B\\D]\r\n\"m\"=dword:00000003\r\n"))
            .Value();
    const auto plan = PlanChanges(registry, changes);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan.Value().values.size(), 4u) << "the value already so and the one not there to remove drop out";
    EXPECT_EQ(PlanBackup(plan.Value()), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=hex(2):25,00\r\n"
                                             "\"d\"=dword:00000001\r\n\r\n[HKEY_CURRENT_USER\\B\\C]\r\n\"n\"=-\r\n\r\n"
                                             "[HKEY_CURRENT_USER\\B\\D]\r\n\"m\"=-\r\n\r\n"
                                             "; created by this change: [HKEY_CURRENT_USER\\B]\r\n")
        << "two keys below one that is not there create it once";

    const regfile::RegistryTree before = TreeOf(regfile::SerialiseRegFile(registry));
    ASSERT_TRUE(ApplyPlan(registry, plan.Value()));
    const ChangeSet undoing = BackupChanges(Document(PlanBackup(plan.Value()))).Value();
    const auto undo = PlanChanges(registry, undoing);
    ASSERT_TRUE(undo);
    ASSERT_TRUE(ApplyPlan(registry, undo.Value()));
    EXPECT_EQ(regfile::SerialiseRegFile(registry), regfile::SerialiseRegFile(before)) << "the keys it created went again";
}

TEST(ChangeSets, AValueInTheRegistrysWideFormMakesTheBackupUnicode)
{
    const platform::RegValue wide{platform::RegType::Sz, {0x41, 0x01, 0x00, 0x00}}; // "Ł" in UTF-16LE
    const std::vector<backup::FileValue> values = {
        {platform::ShareKey({RegRoot::CurrentUser, "A"}), "w", platform::ExactRegValue{wide, true}, {}},
        {platform::ShareKey({RegRoot::CurrentUser, "A"}), "e", platform::ExactRegValue{{platform::RegType::ExpandSz, {'%', 0}}, false}, {"; note"}},
    };
    const std::string bytes = backup::FileBytes(values, {}, backup::Layout::Grouped);
    const auto parsed = regfile::ParseRegFileBytes(bytes, "wide.reg");
    ASSERT_FALSE(parsed) << "Windows-1252 cannot hold the text";
    std::string expected = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"w\"=hex(1):41,01,00,00"
                           "\r\n; note\r\n\"e\"=hex(2):25,00,00,00\r\n";
    std::string utf16 = "\xFF\xFE";
    for (const char c : expected)
        utf16 += std::string{c, '\0'};
    EXPECT_EQ(bytes, utf16);
}

TEST(ChangeSets, ALargeBackupComesInBoundedPiecesOfWholeLinesGroupedByKey)
{
    // Keys named in turn, one of them spelled two ways, and a wide value: the
    // values must be regrouped, and every piece converted, the mark only once.
    const platform::SharedKeyPath a = platform::ShareKey({RegRoot::CurrentUser, "A"});
    const platform::SharedKeyPath b = platform::ShareKey({RegRoot::CurrentUser, "B"});
    const platform::SharedKeyPath otherB = platform::ShareKey({RegRoot::CurrentUser, "b"});
    const platform::ExactRegValue wide{{platform::RegType::Sz, {0x41, 0x01, 0x00, 0x00}}, true};
    std::vector<backup::FileValue> values = {{b, "w", wide, {}}};
    std::string textA, textB = "\"w\"=hex(1):41,01,00,00\r\n";
    for (int i = 0; i < 6000; ++i) {
        const std::string name = "v" + std::to_string(i);
        values.push_back({a, name, platform::ExactRegValue{platform::RegValue::Dword(i), false}, {}});
        values.push_back({i % 2 ? otherB : b, name, std::nullopt, {}});
        char dword[9];
        std::snprintf(dword, sizeof dword, "%08x", i);
        textA += "\"" + name + "\"=dword:" + dword + "\r\n";
        textB += "\"" + name + "\"=-\r\n";
    }
    struct Values final : backup::FileValues {
        const std::vector<backup::FileValue>& all;
        explicit Values(const std::vector<backup::FileValue>& v) : all(v) {}
        std::size_t Count() const override { return all.size(); }
        backup::FileValueView At(std::size_t i) const override
        {
            return {all[i].key.get(), all[i].name, all[i].value ? &*all[i].value : nullptr, nullptr};
        }
    };
    std::vector<std::string> pieces;
    backup::WriteGroupedBytes(Values(values), {"HKEY_CURRENT_USER\\C"}, {},
                              [&pieces](std::string_view piece) { pieces.emplace_back(piece); });

    const std::string text = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\B]\r\n" + textB +
                             "\r\n[HKEY_CURRENT_USER\\A]\r\n" + textA +
                             "\r\n; created by this change: [HKEY_CURRENT_USER\\C]\r\n";
    std::string expected = "\xFF\xFE";
    for (const char c : text)
        expected += std::string{c, '\0'};
    std::string bytes;
    for (const std::string& piece : pieces) {
        EXPECT_LT(piece.size(), 200'000u);
        bytes += piece;
    }
    EXPECT_GT(pieces.size(), 2u);
    const std::size_t at = static_cast<std::size_t>(
        std::mismatch(bytes.begin(), bytes.end(), expected.begin(), expected.end()).first - bytes.begin());
    EXPECT_EQ(bytes.size(), expected.size());
    EXPECT_EQ(bytes.substr(at, 48), expected.substr(at, 48)) << "at byte " << at;
}

// Another program's change between the plan and the write would leave a
// backup of values this change never replaced.
TEST(ChangeSets, AChangeIsPlannedBackedUpAndAppliedUnderOneHoldOfTheRegistry)
{
    regfile::RegistryTree tree = TreeOf("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"old\"\r\n");
    HeldTree registry(tree);
    TempAppFolder folder(&registry);
    const ChangeSet changes =
        ProfileChanges(Document("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"new\"\r\n")).Value();
    const auto done = CarryOutChanges(registry, changes, folder.Folder().string(), "p", false);
    ASSERT_TRUE(done);
    ASSERT_TRUE(done.Value().backupPath);
    EXPECT_EQ(registry.holds, 1);
    EXPECT_FALSE(registry.outsideHold);
    EXPECT_EQ(tree.QueryValue(RegRoot::CurrentUser, "A", "x").Value().data, (std::vector<std::uint8_t>{'n', 'e', 'w', 0}));
}
