#include "unit/RecordingBackend.h"
#include "unit/RegTreeOf.h"
#include "unit/RegistryChanges.h"
#include "unit/TempAppFolder.h"

#include "regfile/RegFile.h"
#include "regstore/RegFileIndex.h"
#include "regstore/RegistryStore.h"
#include "regfile/RegistryTree.h"
#include "platform/Services.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using platform::RegError;
using platform::RegRoot;
using platform::RegValue;

class RegistryStoreTest : public ::testing::Test {
protected:
    RegistryStoreTest() : installed_(backend_) {}

    std::string StorePath() const { return folder_.Path("registry.reg"); }

    // Replaces the file by rename, as a well-behaved editor would.
    void Replace(const std::string& bytes) const
    {
        folder_.Write("edit.tmp", bytes);
        std::filesystem::rename(folder_.Path("edit.tmp"), StorePath());
    }
    std::string Contents() const { return folder_.Read("registry.reg"); }
    ino_t Inode() const
    {
        struct stat st{};
        return ::stat(StorePath().c_str(), &st) == 0 ? st.st_ino : 0;
    }
    std::vector<std::string> FolderEntries() const { return folder_.Entries(); }

    RecordingBackend backend_;
    std::vector<std::string>& reports_ = backend_.errors;

private:
    TempAppFolder folder_;
    toolkit::ScopedBackend installed_;
};

// A file read and checked as the importer reads it, then imported.
platform::RegResult Import(regstore::RegistryStore& store, const std::string& text)
{
    auto file = store.ReadImport(regstore::RegText::Held(text, "import.reg"));
    if (!file) {
        ADD_FAILURE() << file.Error().Message();
        return RegError::WriteFailed;
    }
    return store.Import(file.Value());
}

platform::RegResult Import(regfile::RegistryTree& tree, const std::string& text)
{
    const auto document = regfile::ParseRegFile(text, "import.reg");
    if (!document)
        return RegError::BadKeyPath;
    return regfile::ApplyRegFile(document.Value(), tree, regfile::RegFileComments::Drop);
}

std::string ReadString(platform::IRegistry& registry, std::string_view subKey, std::string_view name)
{
    const auto value = registry.QueryValue(RegRoot::CurrentUser, subKey, name);
    if (!value)
        return "<error " + std::to_string(static_cast<int>(value.Error().error)) + ">";
    const auto& d = value.Value().data;
    return std::string(d.begin(), d.empty() ? d.end() : d.end() - 1);
}

TEST_F(RegistryStoreTest, MissingFileIsEmptyUntilTheFirstChangeCreatesIt)
{
    regstore::RegistryStore store(StorePath());
    EXPECT_EQ(store.QueryValue(RegRoot::CurrentUser, "K", "v").Error(), RegError::KeyNotFound);
    EXPECT_EQ(store.DeleteValue(RegRoot::LocalMachine, "K", "v").Error(), RegError::KeyNotFound);
    EXPECT_EQ(store.DeleteKey(RegRoot::LocalMachine, "K").Error(), RegError::KeyNotFound);
    EXPECT_TRUE(FolderEntries().empty()) << "neither a read nor a change that changes nothing creates a file";

    ASSERT_TRUE(store.SetValue(RegRoot::CurrentUser, "Control Panel\\\\Desktop", "v", RegValue::String("1")));
    EXPECT_EQ(Contents(), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel]\r\n"
                          "\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n\"v\"=\"1\"\r\n");
    regstore::RegistryStore other(StorePath());
    EXPECT_EQ(ReadString(other, "control panel\\desktop", "V"), "1");

    // A file of no bytes, made by touch say, is an empty registry too.
    Replace("");
    EXPECT_EQ(store.QueryValue(RegRoot::CurrentUser, "Control Panel\\Desktop", "v").Error(), RegError::KeyNotFound);
    EXPECT_TRUE(store.SetValue(RegRoot::LocalMachine, "", "x", RegValue::Dword(1)));
    EXPECT_TRUE(reports_.empty());
}

TEST_F(RegistryStoreTest, SeesChangesMadeByOthersAndKeepsThemWhenWriting)
{
    regstore::RegistryStore a(StorePath());
    regstore::RegistryStore b(StorePath());
    ASSERT_TRUE(a.SetValue(RegRoot::CurrentUser, "K", "v", RegValue::String("1")));
    EXPECT_EQ(ReadString(b, "K", "v"), "1");
    ASSERT_TRUE(b.SetValue(RegRoot::CurrentUser, "K", "v", RegValue::String("2")));
    EXPECT_EQ(ReadString(a, "K", "v"), "2");

    // Same size, at once: only the new inode tells the versions apart.
    std::string edited = Contents();
    edited.replace(edited.find("\"2\""), 3, "\"3\"");
    Replace(edited);
    EXPECT_EQ(ReadString(a, "K", "v"), "3");

    // A change re-reads the file first, so nothing written meanwhile is lost.
    Replace(edited + "\"other\"=\"kept\"\r\n");
    ASSERT_TRUE(b.SetValue(RegRoot::CurrentUser, "K", "w", RegValue::String("new")));
    regstore::RegistryStore fresh(StorePath());
    EXPECT_EQ(ReadString(fresh, "K", "v"), "3");
    EXPECT_EQ(ReadString(fresh, "K", "other"), "kept");
    EXPECT_EQ(ReadString(fresh, "K", "w"), "new");

    // Reads in AsOneVersion's work keep the version the first found; its own
    // change is read back, and reads after the work see the file again.
    a.AsOneVersion([&] {
        EXPECT_EQ(ReadString(a, "K", "v"), "3");
        Replace(Contents() + "\"late\"=\"1\"\r\n");
        EXPECT_NE(ReadString(a, "K", "late"), "1");
        ASSERT_TRUE(a.SetValue(RegRoot::CurrentUser, "K", "v", RegValue::String("4")));
        EXPECT_EQ(ReadString(a, "K", "late"), "1") << "the change read the file again";
        EXPECT_EQ(ReadString(a, "K", "v"), "4");
        Replace(Contents() + "\"later\"=\"1\"\r\n");
        EXPECT_NE(ReadString(a, "K", "later"), "1");
    });
    EXPECT_EQ(ReadString(a, "K", "later"), "1");
}

// Reads and changes say why in their result, which their caller tells: the
// store shows nothing itself.
TEST_F(RegistryStoreTest, BrokenStoreSaysWhyInEachResultAndIsNeverOverwritten)
{
    const std::string broken = "REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=dword:zz\r\n";
    Replace(broken);
    regstore::RegistryStore store(StorePath());
    for (int i = 0; i < 2; ++i) {
        const auto read = store.QueryValue(RegRoot::CurrentUser, "K", "v");
        ASSERT_FALSE(read);
        EXPECT_EQ(read.Error(), RegError::StoreBroken);
        EXPECT_NE(read.Error().cause.find("\"" + StorePath() + "\", line 3"), std::string::npos) << read.Error().cause;
    }
    for (const platform::RegResult& change :
         {store.SetValue(RegRoot::CurrentUser, "K", "v", RegValue::Dword(1)), store.DeleteValue(RegRoot::CurrentUser, "K", "v"),
          store.DeleteKey(RegRoot::CurrentUser, "K"), Import(store, "REGEDIT4\r\n")}) {
        ASSERT_FALSE(change);
        EXPECT_EQ(change.Error(), RegError::StoreBroken);
        EXPECT_NE(change.Error().cause.find("\"" + StorePath() + "\", line 3"), std::string::npos) << change.Error().cause;
    }
    EXPECT_TRUE(reports_.empty());
    EXPECT_EQ(Contents(), broken);

    Replace("REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"mended\"\r\n");
    EXPECT_EQ(ReadString(store, "K", "v"), "mended");
    EXPECT_TRUE(store.SetValue(RegRoot::CurrentUser, "K", "w", RegValue::Dword(1)));

    Replace(broken);
    EXPECT_EQ(store.QueryValue(RegRoot::CurrentUser, "K", "v").Error(), RegError::StoreBroken);
    EXPECT_TRUE(reports_.empty());
}

TEST_F(RegistryStoreTest, ChangesReplaceTheFileWholeOrNotAtAll)
{
    regstore::RegistryStore store(StorePath());
    ASSERT_TRUE(store.SetValue(RegRoot::CurrentUser, "K", "v", RegValue::String("old")));
    const std::string before = Contents();
    const ino_t oldInode = Inode();
    std::ifstream reader(StorePath(), std::ios::binary);

    ASSERT_TRUE(store.SetValue(RegRoot::CurrentUser, "K", "v", RegValue::String("new")));
    EXPECT_NE(Inode(), oldInode);
    // A reader that opened the old version reads it whole.
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), std::istreambuf_iterator<char>()), before);
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"registry.reg", "registry.reg.lock"}));

    // Nothing to change: the file is not rewritten.
    const ino_t current = Inode();
    EXPECT_TRUE(store.SetValue(RegRoot::CurrentUser, "k", "V", RegValue::String("new")));
    EXPECT_EQ(store.DeleteValue(RegRoot::CurrentUser, "K", "missing").Error(), RegError::ValueNotFound);
    EXPECT_EQ(store.DeleteValue(RegRoot::CurrentUser, "Missing", "v").Error(), RegError::KeyNotFound);
    EXPECT_EQ(Inode(), current);

    // Names with line ends cannot be written into the file.
    const std::string good = Contents();
    EXPECT_EQ(store.SetValue(RegRoot::CurrentUser, "K", "two\nlines", RegValue::Dword(1)).Error(),
              RegError::WriteFailed);
    EXPECT_EQ(store.SetValue(RegRoot::CurrentUser, "K\r\\Sub", "v", RegValue::Dword(1)).Error(), RegError::WriteFailed);
    EXPECT_EQ(Contents(), good);
}

TEST_F(RegistryStoreTest, AFailedWriteLeavesFileAndReadsAsTheyWere)
{
    regstore::RegistryStore store(StorePath());
    ASSERT_TRUE(store.SetValue(RegRoot::CurrentUser, "K", "v", RegValue::String("old")));
    const std::string before = Contents();

    // The lock cannot be taken.
    std::filesystem::remove(StorePath() + ".lock");
    std::filesystem::create_directory(StorePath() + ".lock");
    EXPECT_EQ(store.SetValue(RegRoot::CurrentUser, "K", "v", RegValue::String("new")).Error(), RegError::WriteFailed);
    EXPECT_EQ(ReadString(store, "K", "v"), "old");
    std::filesystem::remove(StorePath() + ".lock");

    // The disk fills up in mid-write: a file size limit in a child process.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const platform::RegResult result =
            store.SetValue(RegRoot::CurrentUser, "K", "big", RegValue::String(std::string(4096, 'x')));
        // An import's text goes to the temporary file as it is made.
        const platform::RegResult imported =
            Import(store, "REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"big\"=\"" + std::string(3 << 20, 'x') + "\"\r\n");
        const auto big = store.QueryValue(RegRoot::CurrentUser, "K", "big");
        const bool unseen = !big && big.Error() == RegError::ValueNotFound;
        const bool failed = !result && result.Error() == RegError::WriteFailed && !imported
            && imported.Error() == RegError::WriteFailed;
        ::_exit(failed && unseen ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Contents(), before);
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"registry.reg", "registry.reg.lock"}));
}

TEST_F(RegistryStoreTest, AReadOnlyStoreRefusesChangesAndSaysSo)
{
    Replace("REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"old\"\r\n");
    const std::string before = Contents();
    ::chmod(StorePath().c_str(), 0444);
    regstore::RegistryStore store(StorePath());
    // An import that would change nothing is no change.
    EXPECT_TRUE(Import(store, "REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"old\"\r\n"));
    for (const platform::RegResult& change : {store.SetValue(RegRoot::CurrentUser, "K", "v", RegValue::String("new")),
                                        store.DeleteValue(RegRoot::CurrentUser, "K", "v"),
                                        Import(store, "REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"new\"\r\n")}) {
        ASSERT_FALSE(change);
        EXPECT_EQ(change.Error(), RegError::WriteFailed);
        EXPECT_EQ(change.Error().cause, "the registry store \"" + StorePath() + "\" is read-only");
    }
    EXPECT_EQ(ReadString(store, "K", "v"), "old");
    EXPECT_EQ(Contents(), before);
    EXPECT_TRUE(reports_.empty()) << "the caller tells the user, not the store";
}

// A change whose text the store could not read back is refused before
// anything is written: hex data that grow when written with line breaks,
// and a value larger than the store may be. (An import of 180 MB of hex data
// once made a store of 288 MB, reported success, and no program could read
// the store afterwards.)
TEST_F(RegistryStoreTest, AChangeThatWouldMakeTheStoreTooLargeToReadIsRefused)
{
    constexpr std::size_t kLimit = 16 * 1024;
    Replace("REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"old\"\r\n");
    const std::string before = Contents();
    regstore::RegistryStore store(StorePath(), kLimit);
    std::string hex = "REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"h\"=hex:00";
    for (int i = 0; i < 5300; ++i)
        hex += ",00";
    ASSERT_LT(hex.size(), kLimit);
    for (const platform::RegResult& change : {Import(store, hex), store.SetValue(RegRoot::CurrentUser, "K", "big",
                                                                           RegValue::String(std::string(kLimit, 'x')))}) {
        ASSERT_FALSE(change);
        EXPECT_EQ(change.Error(), RegError::WriteFailed);
        EXPECT_EQ(change.Error().cause, "the registry store \"" + StorePath() + "\" was not changed: the change would "
                                        "make it larger than 0.015625 MB, the most a registry store may hold");
    }
    EXPECT_EQ(Contents(), before);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"registry.reg"}) << "nothing written, not even a lock";
    EXPECT_TRUE(reports_.empty());
    EXPECT_TRUE(store.SetValue(RegRoot::CurrentUser, "K", "fits", RegValue::String(std::string(kLimit / 2, 'x'))));
}

// A list long enough that its new text is written as it is made, not held:
// the same bytes as the same values changed a few at a time, its check
// writes nothing, and a text too large is refused before anything is written.
TEST_F(RegistryStoreTest, ALongListChangesTheFileAsItsValuesOneAfterAnotherWould)
{
    std::vector<platform::RegValueChange> values;
    const auto a = platform::ShareKey({RegRoot::CurrentUser, "A"});
    values.emplace_back(a, "gone", std::nullopt);
    values.emplace_back(platform::ShareKey({RegRoot::CurrentUser, "B"}), "SAME", RegValue::String("1"));
    for (int i = 0; i < 1500; ++i) {
        const std::string n = std::to_string(i);
        values.emplace_back(i % 3 == 0 ? a : platform::ShareKey({RegRoot::CurrentUser, "New\\K" + std::to_string(i % 7)}),
                            "v" + n, RegValue::String(n));
    }
    values.emplace_back(platform::ShareKey({RegRoot::CurrentUser, "new\\k1"}), "v1", std::nullopt);
    values.emplace_back(a, "v3", RegValue::String("again"));

    // Changed in place, and rewritten whole with its comments.
    for (const std::string start :
         {"REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"keep\"=\"1\"\r\n\"gone\"=\"1\"\r\n"
          "; before B\r\n\r\n[HKEY_CURRENT_USER\\B]\r\n\"same\"=\"1\"\r\n",
          "REGEDIT4\r\n; before B\r\n[HKEY_CURRENT_USER\\B]\r\n\"same\"=\"1\"\r\n"
          "[HKEY_CURRENT_USER\\A]\r\n\"keep\"=\"1\"\r\n\"gone\"=\"1\"\r\n; closing\r\n"}) {
        SCOPED_TRACE(start);
        Replace(start);
        regstore::RegistryStore few(StorePath());
        for (std::size_t at = 0; at < values.size(); at += 100) {
            const std::vector<platform::RegValueChange> part(
                values.begin() + static_cast<std::ptrdiff_t>(at),
                values.begin() + static_cast<std::ptrdiff_t>(std::min(at + 100, values.size())));
            ASSERT_TRUE(few.ApplyChanges(part, {}));
        }
        const std::string expected = Contents();

        Replace(start);
        const ino_t before = Inode();
        regstore::RegistryStore store(StorePath());
        ASSERT_TRUE(store.CheckChanges(values, {}));
        EXPECT_EQ(Inode(), before);
        ASSERT_TRUE(store.ApplyChanges(values, {}));
        EXPECT_EQ(Contents(), expected);
        EXPECT_EQ(ReadString(store, "A", "v3"), "again");
        EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"registry.reg", "registry.reg.lock"}));

        Replace(start);
        regstore::RegistryStore small(StorePath(), expected.size() - 1);
        for (const platform::RegResult& result : {small.CheckChanges(values, {}), small.ApplyChanges(values, {})}) {
            ASSERT_FALSE(result);
            EXPECT_EQ(result.Error(), RegError::WriteFailed);
        }
        EXPECT_EQ(Contents(), start);
    }
    EXPECT_TRUE(reports_.empty());
}

// Runs `work` in a child process that an alarm ends after a few seconds, so
// that a store that blocks fails the test instead of hanging it.
bool RunsToTheEnd(const std::function<bool()>& work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(5);
        ::_exit(work() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(RegistryStoreTest, NonRegularAndHugeFilesAreRefusedWithoutWaiting)
{
    const struct {
        const char* name;
        std::function<void(const std::string&)> make;
        const char* fault;
    } cases[] = {
        {"pipe", [](const std::string& path) { ::mkfifo(path.c_str(), 0644); }, "is not a regular file"},
        {"folder", [](const std::string& path) { std::filesystem::create_directory(path); }, "is not a regular file"},
        {"over 256 MB",
         [](const std::string& path) {
             std::ofstream(path) << "REGEDIT4\r\n";
             std::filesystem::resize_file(path, (std::uintmax_t{256} << 20) + 1);
         },
         "is larger than 256 MB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(StorePath());
        c.make(StorePath());
        EXPECT_TRUE(RunsToTheEnd([&] {
            regstore::RegistryStore store(StorePath());
            const auto read = store.QueryValue(RegRoot::CurrentUser, "K", "v");
            return read.Error() == RegError::StoreBroken
                && read.Error().cause.find("\"" + StorePath() + "\": " + c.fault) != std::string::npos
                && store.QueryValue(RegRoot::CurrentUser, "K", "v").Error() == RegError::StoreBroken
                && store.SetValue(RegRoot::CurrentUser, "K", "v", RegValue::Dword(1)).Error() == RegError::StoreBroken
                && reports_.empty();
        }));
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{"registry.reg"}) << "nothing written, not even a lock";
    }
}

TEST_F(RegistryStoreTest, ImportAppliesABackupAsOneChange)
{
    regstore::RegistryStore store(StorePath());
    ASSERT_TRUE(store.SetValue(RegRoot::CurrentUser, "Control Panel\\Desktop", "Created", RegValue::String("1")));
    const ino_t before = Inode();
    ASSERT_TRUE(Import(store, "REGEDIT4\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"
                            "\"Created\"=-\r\n\"Restored\"=\"C:\\\\Temp\""));
    EXPECT_NE(Inode(), before);
    regstore::RegistryStore fresh(StorePath());
    EXPECT_EQ(fresh.QueryValue(RegRoot::CurrentUser, "Control Panel\\Desktop", "Created").Error(),
              RegError::ValueNotFound);
    EXPECT_EQ(ReadString(fresh, "Control Panel\\Desktop", "Restored"), "C:\\Temp");
}

// A comment that ends in a backslash continues nothing; a comment line
// between hex lines ends nothing: the keys found are those the parser finds,
// and a text value without its NUL gets one, whatever form the store is in.
// Importing it again, or a file of nothing but its first line, writes nothing.
TEST_F(RegistryStoreTest, ImportFindsTheParsersKeysAndWritesOnlyAChange)
{
    const std::string file = "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"t\"=\"x\" ; a note \\\r\n"
                             "[HKEY_CURRENT_USER\\B]\r\n\"b\"=hex:01,\\ ; more below\r\n; between\r\n  02\r\n"
                             "[HKEY_CURRENT_USER\\C]\r\n\"c\"=hex(1):41\r\n";
    const struct {
        const char* name;
        std::string store;
    } stores[] = {
        {"as the store writes it", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Z]\r\n\"z\"=\"1\"\r\n"},
        {"out of order", "REGEDIT4\r\n[HKEY_CURRENT_USER\\Z]\r\n\"z\"=\"1\"\r\n[HKEY_CURRENT_USER\\C]\r\n"},
    };
    for (const auto& start : stores) {
        SCOPED_TRACE(start.name);
        Replace(start.store);
        regstore::RegistryStore store(StorePath());
        auto checked = store.ReadImport(regstore::RegText::Held(file, "import.reg", regfile::RegFileFormat::Regedit4));
        ASSERT_TRUE(checked) << checked.Error().Message();
        ASSERT_TRUE(store.Import(checked.Value()));
        regstore::RegistryStore fresh(StorePath());
        EXPECT_EQ(ReadString(fresh, "A", "t"), "x");
        EXPECT_EQ(fresh.QueryValue(RegRoot::CurrentUser, "B", "b").Value().data, (std::vector<std::uint8_t>{1, 2}));
        EXPECT_EQ(fresh.QueryValue(RegRoot::CurrentUser, "C", "c").Value().data, (std::vector<std::uint8_t>{'A', 0}));
        EXPECT_EQ(ReadString(fresh, "Z", "z"), "1");

        const ino_t written = Inode();
        ASSERT_TRUE(fresh.Import(checked.Value()));
        ASSERT_TRUE(Import(fresh, "REGEDIT4\r\n"));
        EXPECT_EQ(Inode(), written);
    }
    std::filesystem::remove(StorePath());
    regstore::RegistryStore empty(StorePath());
    ASSERT_TRUE(Import(empty, "REGEDIT4\r\n; nothing\r\n"));
    EXPECT_FALSE(std::filesystem::exists(StorePath()));
}

// The key table of a file not in canonical form is made at its size: grown
// by doubling, a large import's table would take up to twice the memory.
TEST(RegFileIndex, KeyTableTakesTheRoomOfItsKeys)
{
    const struct {
        const char* what;
        std::string sections;
        std::size_t keys;
    } files[] = {
        {"parents without sections", "[HKEY_CURRENT_USER\\A\\B\\C]\r\n[HKEY_CURRENT_USER\\A\\D]\r\n[HKEY_LOCAL_MACHINE\\X]\r\n", 7},
        {"one key in many sections", "[HKEY_CURRENT_USER\\S]\r\n[HKEY_CURRENT_USER\\s]\r\n[HKEY_CURRENT_USER\\S\\T]\r\n"
                                     "[HKEY_CURRENT_USER\\S]\r\n", 3},
        {"names that start alike", "[HKEY_CURRENT_USER\\AB]\r\n[HKEY_CURRENT_USER\\A\\B]\r\n[HKEY_CURRENT_USER\\A]\r\n"
                                   "[HKEY_CURRENT_USER\\A B]\r\n", 5},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.what);
        const regstore::RegText text = regstore::RegText::Held("REGEDIT4\r\n" + file.sections, "keys.reg", regfile::RegFileFormat::Regedit4);
        const regstore::RegText* const texts[] = {&text};
        const auto index = regstore::IndexRegTexts(texts);
        ASSERT_TRUE(index);
        EXPECT_EQ(index.Value().keys.size(), file.keys);
        EXPECT_EQ(index.Value().keys.capacity(), file.keys);
    }
}

TEST_F(RegistryStoreTest, ApplyChangesWritesEachRowsChangeAtOnceOrNotAtAll)
{
    for (const ChangesCase& c : ChangesCases()) {
        SCOPED_TRACE(c.what);
        Replace(std::string("REGEDIT4\r\n") + c.before);
        const ino_t before = Inode();
        regstore::RegistryStore store(StorePath());
        ASSERT_TRUE(store.ApplyChanges(c.values, c.emptyKeys));
        const std::string expected = regfile::SerialiseRegFile(TreeOf(std::string("REGEDIT4\r\n") + c.after));
        EXPECT_EQ(regfile::SerialiseRegFile(TreeOf(Contents())), expected);
        const bool unchanged = expected == regfile::SerialiseRegFile(TreeOf(std::string("REGEDIT4\r\n") + c.before));
        EXPECT_EQ(Inode() == before, unchanged) << "a change that changes nothing writes nothing";
    }

    const ChangesCase& changing = ChangesCases().front();
    Replace(std::string("REGEDIT4\r\n") + changing.before);
    const std::string before = Contents();
    ::chmod(StorePath().c_str(), 0444);
    regstore::RegistryStore store(StorePath());
    const platform::RegResult refused = store.ApplyChanges(changing.values, changing.emptyKeys);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.Error().cause, "the registry store \"" + StorePath() + "\" is read-only");
    EXPECT_EQ(Contents(), before);
}

TEST_F(RegistryStoreTest, AChangeOfAForeignFileAfterItsCheckIsTheChangeOnTheFileAsItIsThen)
{
    // Keys out of order: a change rewrites the whole file.
    const std::string foreign = "REGEDIT4\r\n[HKEY_CURRENT_USER\\B]\r\n\"x\"=\"1\"\r\n[HKEY_CURRENT_USER\\A]\r\n\"y\"=\"1\"\r\n";
    const std::vector<platform::RegValueChange> checked{{platform::ShareKey({RegRoot::CurrentUser, "A"}), "y", RegValue::String("2")}};
    struct Case {
        const char* what;
        std::function<void(regstore::RegistryStore&)> between;
        std::string value; // set after the check
        std::string x, y;  // as the file then reads
    };
    const std::vector<Case> cases = {
        {"the change checked", [](regstore::RegistryStore&) {}, "2", "1", "2"},
        {"another value", [](regstore::RegistryStore&) {}, "3", "1", "3"},
        {"the file replaced by another writer",
         [&](regstore::RegistryStore&) { Replace(foreign + "[HKEY_CURRENT_USER\\B]\r\n\"x\"=\"5\"\r\n"); }, "2", "5", "2"},
        {"another change between",
         [](regstore::RegistryStore& store) { ASSERT_TRUE(store.DeleteValue(RegRoot::CurrentUser, "B", "x")); }, "2",
         "<error 1>", "2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Replace(foreign);
        regstore::RegistryStore store(StorePath());
        ASSERT_TRUE(store.CheckChanges(checked, {}));
        c.between(store);
        ASSERT_TRUE(store.SetValue(RegRoot::CurrentUser, "A", "y", RegValue::String(c.value)));
        regstore::RegistryStore fresh(StorePath());
        EXPECT_EQ(ReadString(fresh, "B", "x"), c.x);
        EXPECT_EQ(ReadString(fresh, "A", "y"), c.y);
    }
}

TEST_F(RegistryStoreTest, DeleteEmptyKeyRemovesOnlyAKeyThatHoldsNothing)
{
    Replace("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n[HKEY_CURRENT_USER\\A\\B]\r\n"
            "[HKEY_CURRENT_USER\\C]\r\n\"v\"=\"1\"\r\n");
    regstore::RegistryStore store(StorePath());
    const auto removed = [&store](const char* subKey) {
        const auto result = store.DeleteEmptyKey(RegRoot::CurrentUser, subKey);
        return result ? (result.Value() ? "removed" : "kept") : "fault";
    };
    EXPECT_STREQ(removed("A"), "kept");
    EXPECT_STREQ(removed("C"), "kept");
    EXPECT_STREQ(removed("Missing"), "kept");
    EXPECT_STREQ(removed("a\\b"), "removed");
    EXPECT_STREQ(removed("A"), "removed");
    EXPECT_EQ(Contents(), "REGEDIT4\r\n[HKEY_CURRENT_USER\\C]\r\n\"v\"=\"1\"\r\n");
}

std::string Outcome(const platform::Result<RegValue, platform::RegFault>& result)
{
    return result ? std::string(result.Value().data.begin(), result.Value().data.end())
                  : "<error " + std::to_string(static_cast<int>(result.Error().error)) + ">";
}

// Each (sub-key, name) under each root reads the same from both registries,
// every other one read ahead.
void ExpectSameReads(platform::IRegistry& store, platform::IRegistry& expected, std::initializer_list<RegRoot> roots,
                     std::span<const std::pair<std::string, std::string>> reads)
{
    std::vector<platform::RegValueRef> ahead;
    for (const RegRoot root : roots)
        for (std::size_t i = 0; i < reads.size(); i += 2)
            ahead.push_back({root, reads[i].first, reads[i].second});
    store.ReadAhead(ahead);
    for (const RegRoot root : roots)
        for (const auto& [subKey, name] : reads)
            EXPECT_EQ(Outcome(store.QueryValue(root, subKey, name)), Outcome(expected.QueryValue(root, subKey, name)))
                << subKey << " " << name;
}

// The store reads a key's sections when it is first needed and writes only
// the sections that change; what it reads and what the file then holds must
// be what reading the whole file into a tree and rewriting it gives, whatever
// the order of the file's keys. A file in the form the store writes stays
// byte for byte what a rewrite would give; any other file is rewritten whole,
// as a rewrite would write it, by its first change.
TEST_F(RegistryStoreTest, ReadsAndChangesAsReadingAndRewritingTheWholeFileWould)
{
    const std::string source =
        "REGEDIT4\r\n; the root\r\n[HKEY_CURRENT_USER]\r\n\"Top\"=\"1\"\r\n[HKEY_CURRENT_USER\\A]\r\n"
        "; before B\r\n[HKEY_CURRENT_USER\\A\\B]\r\n; before v\r\n\"v\"=hex:01,02,\\\r\n  03\r\n\"W\"=dword:2\r\n"
        "[HKEY_CURRENT_USER\\A B]\r\n\"x\"=\"[HKEY_CURRENT_USER\\A]\"\r\n[HKEY_LOCAL_MACHINE\\Z]\r\n\"z\"=\"1\"\r\n"
        "; closing\r\n";
    const std::string canonical = regfile::SerialiseRegFile(TreeOf(source));
    // Hex data long enough to be wrapped, as the store writes them.
    regfile::RegistryTree wrapped;
    ASSERT_TRUE(wrapped.SetValue(RegRoot::CurrentUser, "H", "long",
                                 RegValue{platform::RegType::Binary, std::vector<std::uint8_t>(60, 0xab)}));
    const std::string wrappedText = regfile::SerialiseRegFile(wrapped);
    const std::string longHex = wrappedText.substr(wrappedText.find("\"long\""));
    std::string lf = canonical;
    for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;)
        lf.erase(at, 1);
    const std::string body = source.substr(10);
    const struct {
        const char* name;
        std::string text;
        bool rewrittenExactly;
    } files[] = {
        {"as the store writes it", canonical, true},
        {"LF line ends, no last one", lf.substr(0, lf.size() - 1), false},
        {"a key twice, a key out of order",
         source + "[HKEY_LOCAL_MACHINE\\Z]\r\n\"z\"=\"2\"\r\n[HKEY_CURRENT_USER\\0]\r\n\"o\"=\"1\"\r\n", true},
        {"a key in three sections, comments before each, a value removed",
         source + "; more of B\r\n[HKEY_CURRENT_USER\\A\\B]\r\n; new w\r\n\"w\"=dword:3\r\n\"X\"=\"x\"\r\n"
                  "[hkey_current_user\\a\\b]\r\n\"x\"=-\r\n\"extra\"=\"e\"\r\n\"Path\"=\"C:\\Temp\"\r\n"
                  "\"n\\\"q\"=dword:0000000A\r\n\"N\\\"Q\"=hex:01\r\n@=\"d\"\r\n; closing too\r\n",
         true},
        {"keys in reverse order",
         "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Z]\r\n\"z\"=\"1\"\r\n[HKEY_CURRENT_USER\\A B]\r\n\"x\"=\"y\"\r\n"
         "[HKEY_CURRENT_USER\\A\\B]\r\n\"v\"=hex:01,02,\\\r\n  03\r\n; before A\r\n[HKEY_CURRENT_USER\\A]\r\n"
         "[HKEY_CURRENT_USER]\r\n\"Top\"=\"1\"\r\n",
         true},
        {"hex data continued past a comment, then a line that ends it",
         "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"v\"=hex:01,\\ ; more\r\n  02\r\n\"t\"=\"x\"\r\n"
         "[HKEY_CURRENT_USER\\B]\r\n\"b\"=\"1\"\r\n",
         false},
        {"a key without its parent's section", source + "[HKEY_USERS\\Q\\R]\r\n\"q\"=\"1\"\r\n", true},
        {"lines in the form written, then one that is not",
         source + "[HKEY_CURRENT_USER\\P]\r\n; before a\r\n\"a\"=\"1\"\r\n\"b\"=dword:2\r\n", true},
        {"no key with a section of its parent",
         "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A\\B]\r\n\"v\"=\"1\"\r\n[HKEY_LOCAL_MACHINE\\Z\\Y\\X]\r\n\"z\"=\"1\"\r\n"
         "[HKEY_USERS\\Q\\R]\r\n\"q\"=\"1\"\r\n",
         true},
        {"one key spelled three ways",
         "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n\"v\"=\"1\"\r\n[hkey_current_user\\SOFTWARE\\Y]\r\n"
         "\"w\"=\"2\"\r\n[HKEY_CURRENT_USER\\software]\r\n\"s\"=\"3\"\r\n[Hkey_Current_User]\r\n\"top\"=\"2\"\r\n",
         true},
        {"hex data as the store writes them and otherwise",
         source + "[HKEY_CURRENT_USER\\H]\r\n" + longHex + "\"up\"=hex:0A,0b\r\n\"sz\"=hex(1):41,00\r\n"
                  "\"sz2\"=hex(1):41\r\n\"dw\"=hex(4):01,02,03,04\r\n\"dw5\"=hex(4):01,02,03,04,05\r\n"
                  "\"b3\"=hex(3):01\r\n\"early\"=hex:01,02,\\\r\n  03\r\n\"none\"=hex(0):\r\n"
                  "\"x\"=hex(2):41,00\r\n\"lead\"=hex(02):41,00\r\n",
         true},
        {"a key removed", source + "[-HKEY_LOCAL_MACHINE\\Z]\r\n", true},
        {"a key removed with the keys below it, then made again",
         source + "[-HKEY_CURRENT_USER\\A]\r\n; made again\r\n[HKEY_CURRENT_USER\\a\\B]\r\n\"v\"=\"again\"\r\n", true},
        {"a key that never was removed first", "REGEDIT4\r\n[-HKEY_CURRENT_USER\\Nothing]\r\n" + body, true},
    };
    const std::string backup = "REGEDIT4\r\n[-HKEY_CURRENT_USER\\A\\B]\r\n[HKEY_CURRENT_USER\\A\\B\\C]\r\n"
                               "\"c\"=\"1\"\r\n[HKEY_CURRENT_USER\\A B]\r\n\"x\"=-\r\n";
    const std::string foreign = "REGEDIT4\r\n; not taken over\r\n[HKEY_USERS\\Q\\R\\S]\r\n\"s\"=\"1\"\r\n"
                                "[HKEY_CURRENT_USER\\A]\r\n\"a\"=\"1\"\r\n[-HKEY_USERS\\Q]\r\n[HKEY_USERS\\q\\T]\r\n"
                                "\"t\"=\"2\"\r\n[HKEY_CURRENT_USER\\a]\r\n\"A\"=\"2\"\r\n[-HKEY_LOCAL_MACHINE\\Z\\Y]\r\n";
    // Sections whose lines are as a rewrite writes them, and some that are
    // nearly so.
    const std::string sections =
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\N\\Written]\r\n@=\"d\"\r\n\"a\"=\"1\"\r\n\"B\"=dword:00000002\r\n"
        "\"c\"=hex:01,02\r\n\r\n; before Unsorted\r\n[HKEY_CURRENT_USER\\N\\Unsorted]\r\n\"b\"=\"2\"\r\n\"a\"=\"1\"\r\n"
        "[HKEY_CURRENT_USER\\N\\Twice]\r\n\"a\"=\"1\"\r\n\"A\"=\"2\"\r\n[HKEY_CURRENT_USER\\N\\Noted]\r\n\"a\"=\"1\"\r\n"
        "; note\r\n\"b\"=\"2\"\r\n[HKEY_CURRENT_USER\\N\\Removes]\r\n\"a\"=-\r\n\"b\"=\"1\"\r\n"
        "[HKEY_CURRENT_USER\\N\\Indented]\r\n \"a\"=\"1\"\r\n[HKEY_CURRENT_USER\\N\\Lf]\n\"a\"=\"1\"\n\"b\"=\"2\"\n"
        "[HKEY_CURRENT_USER\\N\\Escaped]\r\n\"a\\\\b\"=\"1\"\r\n\"c\"=\"2\"\r\n"
        "[HKEY_CURRENT_USER\\A\\B]\r\n\"z\"=\"1\"\r\n";
    // Every change made to the store and to the tree that stands for the file.
    const auto change = [&](int c, auto& target) -> platform::RegResult {
        const RegRoot user = RegRoot::CurrentUser;
        switch (c) {
        case 0: return target.SetValue(user, "a\\b", "V", RegValue::String("new"));
        case 1: return target.SetValue(user, "A\\B", "new", RegValue::Dword(1));
        case 2: return target.SetValue(user, "A\\\\C\\D", "d", RegValue::Dword(1));
        case 3: return target.SetValue(user, "", "top", RegValue::Dword(1));
        case 4: return target.SetValue(RegRoot::LocalMachine, "Y", "y", RegValue::Dword(1));
        case 5: return target.SetValue(RegRoot::CurrentConfig, "New", "n", RegValue::Dword(1));
        case 6: return target.DeleteValue(user, "A\\B", "v");
        case 7: return target.DeleteKey(user, "A");
        case 8: return target.SetValue(user, "SOFTWARE\\z", "z", RegValue::Dword(1));
        case 9: return Import(target, backup);
        case 10: return Import(target, foreign);
        default: return Import(target, sections);
        }
    };
    const std::pair<std::string, std::string> reads[] = {
        {"", "top"},       {"a", "x"},          {"A\\B", "v"},      {"A\\\\b\\", "w"}, {"A\\B", "extra"},
        {"A\\B", "X"},    {"A B", "X"},        {"Q", "q"},         {"Q\\R", "q"},      {"Z", "z"},
        {"Z\\Y", "z"},    {"z\\y\\x", "Z"},    {"0", "o"},         {"Nothing", "x"},   {"Software\\X", "v"},
        {"software\\y", "W"}, {"SOFTWARE", "s"}, {"A\\B\\C", "c"},    {"Q\\T", "t"},      {"A", "a"},
        {"A\\B", "path"}, {"A\\B", "n\"q"},   {"A\\B", ""},
    };
    const auto roots = {RegRoot::CurrentUser, RegRoot::LocalMachine, RegRoot::Users};
    for (const auto& file : files) {
        for (int c = 0; c <= 11; ++c) {
            SCOPED_TRACE(std::string(file.name) + ", change " + std::to_string(c));
            Replace(file.text);
            regfile::RegistryTree expected = TreeOf(file.text);
            regstore::RegistryStore store(StorePath());
            ExpectSameReads(store, expected, roots, reads);
            const bool changed = change(c, store).HasValue();
            ASSERT_EQ(changed, change(c, expected).HasValue());
            // A change that changes nothing leaves any file as it was.
            if (file.rewrittenExactly && changed)
                EXPECT_EQ(Contents(), regfile::SerialiseRegFile(expected));
            EXPECT_EQ(regfile::SerialiseRegFile(TreeOf(Contents())), regfile::SerialiseRegFile(expected));
            ExpectSameReads(store, expected, roots, reads);
        }
    }
    EXPECT_TRUE(reports_.empty());
}

// A fault in one key's section spoils that key only; it is reported when a
// read first needs that key, or when anything is to be changed, and the file
// is then never written.
TEST_F(RegistryStoreTest, ABrokenSectionFarFromWhatIsReadIsReportedWhenNeededAndNeverRewritten)
{
    std::string text = "REGEDIT4\r\n";
    for (int k = 100; k < 300; ++k)
        text += "\r\n[HKEY_CURRENT_USER\\Key" + std::to_string(k) + "]\r\n\"v\"=\"" + std::to_string(k) + "\"\r\n";
    text += "\r\n[HKEY_CURRENT_USER\\Key999]\r\n\"ok\"=\"1\"\r\n\"bad\"=dword:xyz\r\n";
    const std::string where = "\"" + StorePath() + "\", line 605";
    Replace(text);

    regstore::RegistryStore writer(StorePath());
    const platform::RegResult written = writer.SetValue(RegRoot::CurrentUser, "Key100", "v", RegValue::String("new"));
    ASSERT_FALSE(written);
    EXPECT_EQ(written.Error(), RegError::StoreBroken);
    EXPECT_NE(written.Error().cause.find(where), std::string::npos) << written.Error().cause;
    EXPECT_TRUE(reports_.empty());

    // The same whether the values were read ahead or not.
    for (const bool readAhead : {false, true}) {
        regstore::RegistryStore reader(StorePath());
        if (readAhead)
            reader.ReadAhead({{RegRoot::CurrentUser, "Key999", "bad"}, {RegRoot::CurrentUser, "Key100", "v"},
                              {RegRoot::CurrentUser, "KEY299", "V"}, {RegRoot::CurrentUser, "Key500", "v"},
                              {RegRoot::CurrentUser, "Key999", "OK"}, {RegRoot::CurrentUser, "Key150", "w"}});
        EXPECT_EQ(ReadString(reader, "Key100", "v"), "100");
        EXPECT_EQ(ReadString(reader, "KEY299", "V"), "299");
        EXPECT_EQ(reader.QueryValue(RegRoot::CurrentUser, "Key500", "v").Error(), RegError::KeyNotFound);
        EXPECT_EQ(reader.QueryValue(RegRoot::CurrentUser, "Key150", "w").Error(), RegError::ValueNotFound);
        // Only the value asked for is parsed: the fault is its neighbour's.
        EXPECT_EQ(ReadString(reader, "Key999", "OK"), "1");
        const auto read = reader.QueryValue(RegRoot::CurrentUser, "Key999", "bad");
        ASSERT_FALSE(read);
        EXPECT_EQ(read.Error(), RegError::StoreBroken);
        EXPECT_NE(read.Error().cause.find(where), std::string::npos) << read.Error().cause;
        EXPECT_EQ(reader.DeleteValue(RegRoot::CurrentUser, "Key100", "v").Error(), RegError::StoreBroken);
    }
    EXPECT_TRUE(reports_.empty());
    EXPECT_EQ(Contents(), text);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"registry.reg"});
}

// Whatever part of the file holds the fault, the store finds the fault that
// parsing the whole file finds, with its line, before it would write.
TEST_F(RegistryStoreTest, FaultsAreThoseThatParsingTheWholeFileFinds)
{
    const std::string good = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"a\"=\"1\"\r\n";
    const std::string broken[] = {
        "REGEDIT 4\r\n",
        "REGEDIT4\r\n\"v\"=\"before any key\"\r\n" + good.substr(10),
        good + "[HKEY_CURRENT_USERS\\B]\r\n",
        good + "[HKEY_CURRENT_USER\\B]\r\n\"b\"=\"1\r2\"\r\n",
        good + "[HKEY_CURRENT_USER\\B]\r\n\"b\"=hex:01,\\\r\n\r\n[HKEY_CURRENT_USER\\C]\r\n",
        good + "[HKEY_CURRENT_USER\\B]\r\n\"b\"=hex:01,\\\r\n\\\r\n",
        good + "[HKEY_CURRENT_USER\\B]\r\n\"b\"=\"x\" ; continues nothing \\\r\n[HKEY_CURRENT_USER\\C]\r\n\"c\"=-1\r\n",
        good + "[HKEY_CURRENT_USER\\B]\r\n; a comment does not continue \\\r\n[HKEY_CURRENT_USER\\C]\r\n\"c\"=-1\r\n",
        // in sections whose values no key holds
        good + "[-HKEY_CURRENT_USER\\B]\r\n\"b\"=\"1\"\r\n",
        good + "[HKEY_CURRENT_USER\\B]\r\n\"b\"=dword:zz\r\n[-HKEY_CURRENT_USER\\B]\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\Z]\r\n\"z\"=hex:zz\r\n" + good.substr(10),
    };
    for (const std::string& text : broken) {
        SCOPED_TRACE(text);
        const auto whole = regfile::ParseRegFile(text, StorePath());
        ASSERT_FALSE(whole);
        Replace(text);
        reports_.clear();
        regstore::RegistryStore store(StorePath());
        const platform::RegResult written = store.SetValue(RegRoot::CurrentUser, "A", "a", RegValue::Dword(2));
        ASSERT_FALSE(written);
        EXPECT_EQ(written.Error(), RegError::StoreBroken);
        EXPECT_NE(written.Error().cause.find(whole.Error().Message()), std::string::npos) << written.Error().cause;
        EXPECT_TRUE(reports_.empty());
        EXPECT_EQ(Contents(), text);
    }
}

// How many bytes at the start and at the end of `after` are those of
// `before`, not counting any byte twice.
std::size_t KeptBytes(const std::string& before, const std::string& after)
{
    const std::size_t most = std::min(before.size(), after.size());
    std::size_t front = 0;
    while (front < most && before[front] == after[front])
        ++front;
    std::size_t back = 0;
    while (back < most - front && before[before.size() - 1 - back] == after[after.size() - 1 - back])
        ++back;
    return front + back;
}

// A change rewrites only its key's section: every other byte stays as it
// was, whatever its line ends, spelling or comments, and the file reads as
// the whole file changed in a tree would.
TEST_F(RegistryStoreTest, AChangeKeepsEveryByteOutsideTheChangedSection)
{
    const auto file = [](const std::string& eol, bool lastLineEnd) {
        const std::string lead = eol + "; about M" + eol;
        const std::string m = "[HKEY_CURRENT_USER\\M]" + eol + "\"m\"=\"1\"" + eol;
        const std::string z = "[hkey_current_user\\z]" + eol + "\"Z\"=dword:0000000A" + (lastLineEnd ? eol : "");
        return std::array<std::string, 4>{"REGEDIT4" + eol + "; top" + eol + eol + "[HKEY_CURRENT_USER\\A]" + eol
                                              + "\"a\"=hex:01,02,\\" + eol + "    03" + eol,
                                          lead, m, eol + z};
    };
    const struct {
        const char* name;
        std::string eol;
        bool lastLineEnd;
    } variants[] = {{"CR LF", "\r\n", true}, {"LF", "\n", true}, {"LF, no last line end", "\n", false},
                    {"no last line end", "\r\n", false}};
    // Each change, and how many of the file's bytes it may rewrite: its
    // section, with the comments before it when it removes it.
    const auto change = [](int c, auto& target) -> platform::RegResult {
        switch (c) {
        case 0: return target.SetValue(RegRoot::CurrentUser, "M", "m", RegValue::String("22"));
        case 1: return target.SetValue(RegRoot::CurrentUser, "B", "b", RegValue::Dword(1));
        case 2: return target.SetValue(RegRoot::CurrentUser, "Z", "y", RegValue::Dword(1));
        default: return target.DeleteKey(RegRoot::CurrentUser, "M");
        }
    };
    const auto rewritten = [](int c, const std::array<std::string, 4>& parts) -> std::size_t {
        const std::size_t sizes[] = {parts[2].size(), 0, parts[3].size(), parts[1].size() + parts[2].size()};
        return sizes[c];
    };
    for (const auto& variant : variants) {
        const auto parts = file(variant.eol, variant.lastLineEnd);
        const std::string text = parts[0] + parts[1] + parts[2] + parts[3];
        for (int c = 0; c < 4; ++c) {
            SCOPED_TRACE(std::string(variant.name) + ", change " + std::to_string(c));
            Replace(text);
            regstore::RegistryStore store(StorePath());
            const auto a = store.QueryValue(RegRoot::CurrentUser, "A", "a");
            ASSERT_TRUE(a && a.Value().data.size() == 3u);
            ASSERT_TRUE(change(c, store));
            const std::string written = Contents();
            EXPECT_GE(KeptBytes(text, written), text.size() - rewritten(c, parts)) << written;
            regfile::RegistryTree expected = TreeOf(text);
            ASSERT_TRUE(change(c, expected));
            EXPECT_EQ(regfile::SerialiseRegFile(TreeOf(written)), regfile::SerialiseRegFile(expected)) << written;
        }
    }
    EXPECT_TRUE(reports_.empty());
}

// A store that has read the file and parsed some of its keys sees each kind
// of change another process makes to it, and a change of its own keeps it.
TEST_F(RegistryStoreTest, AFileChangedByAnotherProcessIsIndexedAgain)
{
    const std::string text = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"v\"=\"a\"\r\n"
                             "\r\n[HKEY_CURRENT_USER\\C]\r\n\"v\"=\"c\"\r\n";
    const std::string others[] = {
        // a parsed key's value, same size
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"v\"=\"b\"\r\n\r\n[HKEY_CURRENT_USER\\C]\r\n\"v\"=\"c\"\r\n",
        // a key before the parsed ones moves every section
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\0]\r\n\"v\"=\"0\"\r\n" + text.substr(10),
        // the first parsed key's section gone
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\C]\r\n\"v\"=\"c2\"\r\n",
        // keys out of order, which is read whole
        text + "[HKEY_CURRENT_USER\\B]\r\n\"v\"=\"b\"\r\n[HKEY_CURRENT_USER\\A]\r\n\"w\"=\"w\"\r\n",
    };
    std::vector<std::pair<std::string, std::string>> reads;
    for (const char* key : {"0", "A", "B", "C"})
        for (const char* name : {"v", "w", "new"})
            reads.emplace_back(key, name);
    for (const std::string& other : others) {
        SCOPED_TRACE(other);
        Replace(text);
        regstore::RegistryStore store(StorePath());
        EXPECT_EQ(ReadString(store, "A", "v"), "a");
        EXPECT_EQ(ReadString(store, "C", "v"), "c");
        Replace(other);
        regfile::RegistryTree expected = TreeOf(other);
        ExpectSameReads(store, expected, {RegRoot::CurrentUser}, reads);
        ASSERT_TRUE(store.SetValue(RegRoot::CurrentUser, "C", "new", RegValue::Dword(1)));
        ASSERT_TRUE(expected.SetValue(RegRoot::CurrentUser, "C", "new", RegValue::Dword(1)));
        regstore::RegistryStore fresh(StorePath());
        ExpectSameReads(fresh, expected, {RegRoot::CurrentUser}, reads);
    }
    EXPECT_TRUE(reports_.empty());
}

// What Exclusively's work reads, its changes replace: another process's
// change waits until the work is done. An exception of the work leaves it
// and lets the lock go; without the lock the work runs and its change fails.
TEST_F(RegistryStoreTest, ExclusivelyKeepsOtherWritersOutUntilItsWorkIsDone)
{
    regstore::RegistryStore store(StorePath());
    ASSERT_TRUE(store.SetValue(RegRoot::CurrentUser, "K", "v", RegValue::String("0")));
    // Forked first: a child forked inside the work would share its lock.
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        char ready = 0;
        regstore::RegistryStore other(StorePath());
        const bool told = ::read(pipe[0], &ready, 1) == 1;
        ::_exit(told && other.SetValue(RegRoot::CurrentUser, "K", "v", RegValue::String("other")) ? 0 : 1);
    }
    store.Exclusively([&] {
        const std::string read = ReadString(store, "K", "v");
        ASSERT_EQ(::write(pipe[1], "x", 1), 1);
        ::usleep(200000);
        ASSERT_TRUE(store.SetValue(RegRoot::CurrentUser, "K", "v", RegValue::String(read + "+mine")));
    });
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(pipe[0]);
    ::close(pipe[1]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    regstore::RegistryStore fresh(StorePath());
    EXPECT_EQ(ReadString(fresh, "K", "v"), "other") << "the other change waited for the work and came after it";

    EXPECT_THROW(store.Exclusively([] { throw std::runtime_error("backup not written"); }), std::runtime_error);
    EXPECT_TRUE(store.SetValue(RegRoot::CurrentUser, "K", "v", RegValue::String("after")));

    std::filesystem::remove(StorePath() + ".lock");
    std::filesystem::create_directory(StorePath() + ".lock");
    bool ran = false;
    store.Exclusively([&] {
        ran = true;
        EXPECT_EQ(store.SetValue(RegRoot::CurrentUser, "K", "v", RegValue::String("locked out")).Error(),
                  RegError::WriteFailed);
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(ReadString(store, "K", "v"), "after");
    EXPECT_TRUE(reports_.empty());
}

TEST_F(RegistryStoreTest, TwoProcessesWritingAtOnceLoseNoUpdate)
{
    constexpr int kWrites = 1000;
    pid_t children[2];
    for (int p = 0; p < 2; ++p) {
        children[p] = ::fork();
        ASSERT_GE(children[p], 0);
        if (children[p] == 0) {
            regstore::RegistryStore store(StorePath());
            for (int i = 0; i < kWrites; ++i)
                if (!store.SetValue(RegRoot::CurrentUser, "Race", "p" + std::to_string(p) + "-" + std::to_string(i),
                                    RegValue::Dword(static_cast<std::uint32_t>(i))))
                    ::_exit(1);
            ::_exit(0);
        }
    }

    // Readers never see a half-written file meanwhile.
    regstore::RegistryStore reader(StorePath());
    int running = 2;
    int brokenReads = 0;
    while (running > 0) {
        const auto read = reader.QueryValue(RegRoot::CurrentUser, "Race", "p0-0");
        if (!read && read.Error() == RegError::StoreBroken)
            ++brokenReads;
        ::usleep(2000);
        for (pid_t& child : children) {
            int status = 0;
            if (child > 0 && ::waitpid(child, &status, WNOHANG) == child) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
                child = 0;
                --running;
            }
        }
    }
    EXPECT_EQ(brokenReads, 0);
    EXPECT_TRUE(reports_.empty());

    regstore::RegistryStore fresh(StorePath());
    for (int p = 0; p < 2; ++p) {
        for (int i = 0; i < kWrites; ++i) {
            const auto value = fresh.QueryValue(RegRoot::CurrentUser, "Race",
                                                "p" + std::to_string(p) + "-" + std::to_string(i));
            ASSERT_TRUE(value) << "p" << p << "-" << i << " was lost";
            EXPECT_EQ(value.Value().data, RegValue::Dword(static_cast<std::uint32_t>(i)).data);
        }
    }
}

} // namespace
