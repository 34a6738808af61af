#include "unit/TempAppFolder.h"

#include "backup/BackupFolder.h"
#include "platform/AtomicFile.h"
#include "platform/Exceptions.h"
#include "platform/NewFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The id of a process that has ended, as a killed writer's is.
pid_t EndedProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    if (child > 0)
        ::waitpid(child, nullptr, 0);
    return child;
}

struct stat StatOf(const std::string& path)
{
    struct stat st{};
    ::lstat(path.c_str(), &st);
    return st;
}

TEST(AtomicFile, WritesThroughLinksAndKeepsModeAndOwner)
{
    TempAppFolder app;
    fs::create_directories(app.Folder() / "real" / "deeper");
    app.Write("real/deeper/config.ini", "old");
    fs::create_symlink("deeper/config.ini", app.Folder() / "real" / "hop");
    fs::create_symlink("real/hop", app.Folder() / "config.ini");
    const std::string target = app.Path("real/deeper/config.ini");
    ::chmod(target.c_str(), 0640);
    const bool mayChown = ::geteuid() == 0;
    if (mayChown)
        ASSERT_EQ(::chown(target.c_str(), 4321, 4322), 0);

    platform::WriteFileAtomically(app.Path("config.ini"), "new");
    EXPECT_TRUE(fs::is_symlink(app.Folder() / "config.ini"));
    EXPECT_TRUE(fs::is_symlink(app.Folder() / "real" / "hop"));
    EXPECT_EQ(app.Read("real/deeper/config.ini"), "new");
    EXPECT_EQ(StatOf(target).st_mode & 07777, 0640u);
    if (mayChown) {
        EXPECT_EQ(StatOf(target).st_uid, 4321u);
        EXPECT_EQ(StatOf(target).st_gid, 4322u);
    }
    EXPECT_EQ(app.Entries("real/deeper"), std::vector<std::string>{"config.ini"});

    // A link to a file not there yet creates the file it names.
    fs::create_symlink("made.ini", app.Folder() / "dangling.ini");
    platform::WriteFileAtomically(app.Path("dangling.ini"), "made");
    EXPECT_TRUE(fs::is_symlink(app.Folder() / "dangling.ini"));
    EXPECT_EQ(app.Read("made.ini"), "made");
}

TEST(AtomicFile, AFileThatMayNotBeWrittenIsRefusedAndKept)
{
    TempAppFolder app;
    const std::string path = app.Path("config.ini");
    for (const mode_t mode : {0444, 0000}) {
        SCOPED_TRACE(mode);
        app.Write("config.ini", "kept");
        ::chmod(path.c_str(), mode);
        try {
            platform::WriteFileAtomically(path, "lost");
            ADD_FAILURE() << "a read-only file was replaced";
        } catch (const platform::CFileException& e) {
            EXPECT_EQ(e.Path(), path);
        }
        ::chmod(path.c_str(), 0644);
        EXPECT_EQ(app.Read("config.ini"), "kept");
        EXPECT_EQ(app.Entries(), std::vector<std::string>{"config.ini"});
    }

    // Neither a folder nor a pipe is replaced by a file.
    fs::remove(path);
    fs::create_directory(path);
    EXPECT_THROW(platform::WriteFileAtomically(path, "x"), platform::CFileException);
    EXPECT_TRUE(fs::is_directory(path));
    fs::remove(path);
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    EXPECT_THROW(platform::WriteFileAtomically(path, "x"), platform::CFileException);
    EXPECT_TRUE(fs::is_fifo(path));
}

TEST(AtomicFile, TemporariesOfDeadWritersAreRemovedThoseOfLiveOnesKept)
{
    TempAppFolder app;
    const pid_t child = EndedProcess();
    ASSERT_GT(child, 0);
    const std::string stale = ".config.ini.tw-" + std::to_string(child) + "-a1B2c3";
    const std::string live = ".config.ini.tw-" + std::to_string(::getpid()) + "-a1B2c3";
    const std::string otherFile = ".other.ini.tw-" + std::to_string(child) + "-a1B2c3";
    for (const std::string& name : {stale, live, otherFile})
        app.Write(name, "half");

    platform::WriteFileAtomically(app.Path("config.ini"), "new");
    std::vector<std::string> kept = {live, otherFile, "config.ini"};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(app.Entries(), kept);
}

// A backup gets a new name each time, so any file created in the folder
// clears what killed writers of every name left there.
TEST(AtomicFile, ANewFileClearsTemporariesOfDeadWritersOfAnyName)
{
    TempAppFolder app;
    const pid_t child = EndedProcess();
    ASSERT_GT(child, 0);
    const std::string dead = std::to_string(child);
    const std::vector<std::string> removed = {".backup - a.reg.tw-" + dead + "-a1B2c3", ".b.tw-x.tw-" + dead + "-zzzzzz"};
    std::vector<std::string> kept = {
        ".backup - a.reg.tw-" + std::to_string(::getpid()) + "-a1B2c3", // a live writer's
        "backup - a.reg.tw-" + dead + "-a1B2c3",                        // no leading dot
        ".tw-" + dead + "-a1B2c3",                                      // no name before the mark
        ".b.reg.tw-" + dead + "-a1B2c",                                 // too short a suffix
        ".b.reg.tw-" + dead + "x-a1B2c3",                               // no process id
    };
    for (const auto& names : {removed, kept})
        for (const std::string& name : names)
            app.Write(name, "half");

    ASSERT_EQ(platform::CreateNewFile(app.Path("new.reg"), "whole"), platform::NewFileResult::Created);
    ASSERT_EQ(platform::CreateNewFile(app.Path("new.reg"), "other"), platform::NewFileResult::NameTaken);
    EXPECT_EQ(app.Read("new.reg"), "whole");
    kept.push_back("new.reg");
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(app.Entries(), kept);
}

TEST(AtomicFile, ABackupWhoseDiskFillsAfterSomePiecesLeavesNoFile)
{
    TempAppFolder app;
    fs::create_directory(app.Path("backup"));
    // The disk fills up in mid-write: a file size limit in a child process.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100'000, 100'000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        int pieces = 0;
        const auto written = backup::WriteBackup(app.Path("backup"), "profile p", 0, [&](const platform::WritePiece& write) {
            for (; pieces < 4; ++pieces)
                write(std::string(64 * 1024, 'x'));
        });
        const bool named = !written && written.Error().path.starts_with(app.Path("backup/backup - ")) &&
                           written.Error().path.ends_with(" - profile p.reg");
        ::_exit(named && pieces == 1 ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(app.Entries("backup").empty());
}

} // namespace
