// The backup file's own rules: its name read back as it was written, its
// stamp from one instant, and the history row of a backup of many values.
#include "unit/TempAppFolder.h"

#include "app/history/HistoryRows.h"
#include "backup/BackupFolder.h"
#include "backup/BackupName.h"
#include "platform/SystemText.h"
#include "regfile/RegFile.h"

#include <gtest/gtest.h>

#include <random>

using namespace app;
using namespace changes;

namespace {

// Names that file names must change, cut, or take for copy numbers.
std::string RandomName(std::mt19937& random)
{
    static const std::vector<std::string> pieces = {"a", "Menu", " ", ".", "(", ")", " (2)", " (1)", " (0)",
                                                    " (1000000)", "0", "7", ":", "?", "\t", "\xE9", ".reg", "-"};
    std::string name;
    const std::size_t count = random() % 12;
    for (std::size_t i = 0; i < count; ++i)
        name += pieces[random() % pieces.size()];
    if (random() % 8 == 0)
        name += std::string(200 + random() % 60, 'n') + " (3)";
    return name;
}

class SteppingClock final : public platform::IClock {
public:
    explicit SteppingClock(std::vector<platform::LocalTime> times) : times_(std::move(times)) {}
    platform::LocalTime Now() override { return times_[std::min(calls++, times_.size() - 1)]; }
    std::size_t calls = 0;

private:
    std::vector<platform::LocalTime> times_;
};

} // namespace

TEST(BackupName, FormatAndParseAreInverse)
{
    std::mt19937 random(20240305);
    for (int i = 0; i < 5000; ++i) {
        char stamp[13];
        std::snprintf(stamp, sizeof stamp, "%04u%02u%02u%02u%02u", 1000 + random() % 9000, 1 + random() % 12,
                      1 + random() % 31, random() % 24, random() % 60);
        const std::string name = backup::ShortenedName(backup::NamePart(RandomName(random), 10020), 40 + random() % 220);
        const backup::BackupName written{stamp, name, 1 + static_cast<int>(random() % backup::kMaxCopies)};
        const std::string file = backup::FormatBackupName(written);
        SCOPED_TRACE(file);
        const std::optional<backup::BackupName> read = backup::ParseBackupName(file);
        ASSERT_TRUE(read);
        EXPECT_EQ(*read, written);
        EXPECT_EQ(backup::FormatBackupName(*read), file);
    }
    // A first copy of a name that ends like a copy number keeps its ending.
    EXPECT_EQ(backup::FormatBackupName({"202403050905", "Mode (2)", 1}), "backup - 20240305 - 09.05 - Mode (2) (1).reg");
    EXPECT_EQ(backup::FormatBackupName({"202403050905", "Mode (1)", 1}), "backup - 20240305 - 09.05 - Mode (1).reg");
}

// Read field by field, a save at 23:59:59 was named after the next day's
// date with the old hour, and sorted a day late.
TEST(BackupName, TheStampIsOneInstantOfAClockThatTurnsMeanwhile)
{
    const struct {
        platform::LocalTime first, second;
        const char* file;
    } cases[] = {
        {{2024, 3, 5, 23, 59}, {2024, 3, 6, 0, 0}, "backup - 20240305 - 23.59 - Menu delay.reg"},
        {{2024, 3, 5, 9, 59}, {2024, 3, 5, 10, 0}, "backup - 20240305 - 09.59 - Menu delay.reg"},
        {{2024, 12, 31, 23, 59}, {2025, 1, 1, 0, 0}, "backup - 20241231 - 23.59 - Menu delay.reg"},
    };
    for (const auto& c : cases) {
        SteppingClock clock({c.first, c.second, c.second});
        TempAppFolder app(nullptr, &clock);
        std::filesystem::create_directory(app.Path("backup"));
        const auto written = backup::WriteBackup(app.Path("backup"), "Menu delay", 10020, "REGEDIT4");
        ASSERT_TRUE(written) << written.Error().Message();
        EXPECT_EQ(app.Entries("backup"), std::vector<std::string>{c.file});
    }
}

TEST(BackupHistoryRow, SameOnlyWhenEveryValueIsTheRegistrys)
{
    const platform::RegKeyPath key{platform::RegRoot::CurrentUser, "A"};
    const auto value = [&key](const char* name, const char* held, const char* now) {
        return HistoryValue{key, name, platform::ExactRegValue{platform::RegValue::String(held), false},
                            std::optional<platform::ExactRegValue>(platform::ExactRegValue{platform::RegValue::String(now), false})};
    };
    const backup::BackupFile file{"/b/x.reg", "x.reg", {"202403050905", "restore x", 1}, 0};
    const struct {
        std::vector<HistoryValue> values;
        const char* now;
    } cases[] = {
        {{value("x", "1", "1"), value("y", "2", "2")}, "same: x=\"1\"; y=\"2\""},
        {{value("x", "1", "1"), value("y", "2", "3")}, "x=\"1\"; y=\"3\""},
        {{value("x", "1", "0"), value("y", "2", "2")}, "x=\"0\"; y=\"2\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HistoryRowOf(file, c.values).now, platform::ToUtf16(c.now));
}

// The depth of a key counts its names, not its separators: restoring a deep
// key that a path form wrote with doubled separators must not be refused.
TEST(BackupKeys, ThreeHundredLevelsWithDoubledSeparatorsAreReadAndFiveHundredThirteenRefused)
{
    const auto keyLine = [](std::size_t levels, const std::string& separator) {
        // One backslash after the root, as a key line must have it.
        std::string key = "HKEY_CURRENT_USER\\k";
        for (std::size_t i = 1; i < levels; ++i)
            key += separator + "k";
        return "REGEDIT4\r\n\r\n[" + key + "]\r\n\"x\"=\"1\"\r\n";
    };
    const struct {
        std::size_t levels;
        const char* separator;
        bool read;
    } cases[] = {{300, "\\\\", true}, {512, "\\\\", true}, {300, "\\", true}, {513, "\\", false}, {513, "\\\\", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.levels) + c.separator);
        const auto parsed = regfile::ParseRegFile(keyLine(c.levels, c.separator), "deep.reg");
        EXPECT_EQ(static_cast<bool>(parsed), c.read) << (parsed ? "" : parsed.Error().Message());
    }
}
