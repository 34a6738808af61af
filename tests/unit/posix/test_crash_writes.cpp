// A writer killed at any moment leaves each file in its old or its new
// version, and the next write clears the temporary files it left behind.
#include "crash/CrashFiles.h"
#include "unit/RegTreeOf.h"
#include "unit/TempAppFolder.h"

#include "platform/AtomicFile.h"
#include "regfile/RegFile.h"
#include "regfile/RegistryTree.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace saving;
using namespace util;

namespace {

constexpr int kFillerValues = 300;

// Returns once the writer is about to write, so that the random delay before
// a kill is spent writing, however long the program takes to start (an
// instrumented build on a busy machine may take longer than the delay).
pid_t StartWriter(const char* first, const char* second = nullptr)
{
    int ready[2];
    if (::pipe2(ready, O_CLOEXEC) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(ready[1], STDOUT_FILENO);
        ::execl(TW_CRASH_WRITER, "crash_writer", first, second, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(ready[1]);
    char line = 0;
    while (::read(ready[0], &line, 1) < 0 && errno == EINTR) {
    }
    ::close(ready[0]);
    return child;
}

// Kills the writer after a random delay, once it runs; false when it ended by
// itself.
bool KillWriterAfter(pid_t writer, useconds_t delay)
{
    ::usleep(delay);
    ::kill(writer, SIGKILL);
    int status = 0;
    ::waitpid(writer, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

int Temporaries(const std::filesystem::path& folder, const std::string& name)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        count += entry.path().filename().string().starts_with("." + name) &&
                 entry.path().filename().string().find(".tw-") != std::string::npos;
    return count;
}

// The counter of a store that must parse whole: every filler value is there.
std::uint32_t StoredCounter(const TempAppFolder& app)
{
    const regfile::RegistryTree tree = TreeOf(app.Read("registry.reg"));
    EXPECT_EQ(tree.ValueCount(), kFillerValues + 1u);
    const platform::RegValue* counter = tree.FindValue(platform::RegRoot::CurrentUser, crash::kCounterKey, crash::kCounterValue);
    if (counter == nullptr || counter->data.size() != 4) {
        ADD_FAILURE() << "no counter";
        return 0;
    }
    const auto& d = counter->data;
    return d[0] | d[1] << 8 | d[2] << 16 | static_cast<std::uint32_t>(d[3]) << 24;
}

TEST(CrashWrites, AKilledWriterLeavesOldOrNewFilesAndTheNextWriteClearsItsTemporaries)
{
    TempAppFolder app(nullptr, nullptr, FastFolder());
    regfile::RegistryTree seed;
    for (int i = 0; i < kFillerValues; ++i)
        ASSERT_TRUE(seed.SetValue(platform::RegRoot::CurrentUser, "Filler", "value " + std::to_string(i),
                                  platform::RegValue::String(std::string(40, 'x'))));
    ASSERT_TRUE(seed.SetValue(platform::RegRoot::CurrentUser, crash::kCounterKey, crash::kCounterValue,
                              platform::RegValue::Dword(0)));
    platform::WriteFileAtomically(app.Path("registry.reg"), regfile::SerialiseRegFile(seed));
    platform::WriteFileAtomically(app.Path("config.ini"), crash::Settings(0));

    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> delay(0, 25000);
    std::uint32_t last = 0;
    std::uint32_t lastRound = 0;
    int midWriteKills = 0;
    // On a busy machine fewer kills land in mid-write: kill again until
    // enough have, within a bound.
    for (int kill = 0; kill < 800 && (kill < 200 || midWriteKills <= 10); ++kill) {
        const pid_t writer = StartWriter(app.Folder().c_str());
        ASSERT_GT(writer, 0);
        ASSERT_TRUE(KillWriterAfter(writer, static_cast<useconds_t>(delay(random)))) << "the writer ended by itself";

        const std::uint32_t counter = StoredCounter(app);
        ASSERT_GE(counter, last);
        last = counter;
        // The settings are written after the store, so they may lag behind it.
        const std::string settings = app.Read("config.ini");
        const std::uint32_t round = static_cast<std::uint32_t>(std::stoul(settings.substr(settings.find('\n') + 1)));
        ASSERT_EQ(settings, crash::Settings(round)) << "after kill " << kill;
        ASSERT_GE(round, lastRound);
        ASSERT_LE(round, counter);
        lastRound = round;
        // Each write clears what an earlier killed writer left.
        const int left = Temporaries(app.Folder(), "registry.reg") + Temporaries(app.Folder(), "config.ini");
        ASSERT_LE(Temporaries(app.Folder(), "registry.reg"), 1);
        ASSERT_LE(Temporaries(app.Folder(), "config.ini"), 1);
        midWriteKills += left > 0;
    }
    // Enough kills landed in mid-write, and enough writes went through, to
    // have tested something.
    EXPECT_GT(midWriteKills, 10);
    EXPECT_GT(last, 0u);

    const pid_t writer = StartWriter(app.Folder().c_str(), "1");
    int status = 0;
    ::waitpid(writer, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(StoredCounter(app), last + 1);
    EXPECT_EQ(Temporaries(app.Folder(), "registry.reg"), 0);
    EXPECT_EQ(Temporaries(app.Folder(), "config.ini"), 0);
}

TEST(CrashWrites, AKilledBackupWriterLeavesOnlyCompleteBackups)
{
    TempAppFolder app(nullptr, nullptr, FastFolder());
    const std::filesystem::path folder = app.Folder() / "backup";
    std::filesystem::create_directory(folder);
    const std::string backup = crash::Backup();
    std::mt19937 random(20240612);
    std::uniform_int_distribution<int> delay(0, 8000);
    int backups = 0;
    int midWriteKills = 0;
    for (int kill = 0; kill < 400 && (kill < 100 || midWriteKills <= 10); ++kill) {
        const pid_t writer = StartWriter("--backups", app.Folder().c_str());
        ASSERT_GT(writer, 0);
        ASSERT_TRUE(KillWriterAfter(writer, static_cast<useconds_t>(delay(random)))) << "the writer ended by itself";
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().extension() != ".reg")
                continue;
            ASSERT_TRUE(app.Read("backup/" + entry.path().filename().string()) == backup)
                << entry.path() << " is not the whole backup, after kill " << kill;
            std::filesystem::remove(entry.path());
            ++backups;
        }
        const int left = Temporaries(folder, "backup");
        ASSERT_LE(left, 1) << "after kill " << kill;
        midWriteKills += left;
    }
    EXPECT_GT(midWriteKills, 10);
    EXPECT_GT(backups, 100);
}

} // namespace
