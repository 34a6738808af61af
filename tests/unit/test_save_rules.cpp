// The rules a save applies before anything is written: the typed number's
// range by storage, and the backup's file name.
#include "unit/TempAppFolder.h"

#include "platform/NewFile.h"
#include "platform/TemporaryName.h"
#include "backup/BackupFolder.h"
#include "saving/NewValue.h"

#include <gtest/gtest.h>

#include <optional>

using namespace saving;
using namespace catalogue;

TEST(SaveRules, TypedNumbersKeepToTheRangeOfTheirStorage)
{
    struct Case {
        const char* text;
        std::optional<std::int64_t> asText;  // REG_SZ
        std::optional<std::int64_t> asDword; // REG_DWORD
    };
    const Case cases[] = {
        {"0", 0, 0},
        {"-2147483648", -2147483648LL, -2147483648LL},
        {"-2147483649", std::nullopt, std::nullopt},
        {"2147483647", 2147483647LL, 2147483647LL},
        {"2147483648", std::nullopt, 2147483648LL},
        {"4294967295", std::nullopt, 4294967295LL},
        {"4294967296", std::nullopt, std::nullopt},
        {"99999999999999999999999", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"-", std::nullopt, std::nullopt},
        {"+1", std::nullopt, std::nullopt},
        {"1 ", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseTypedNumber(c.text, ValueStorage::String), c.asText);
        EXPECT_EQ(ParseTypedNumber(c.text, ValueStorage::Dword), c.asDword);
    }
}

TEST(SaveRules, TheBackupIsNamedAfterTheFunctionAsAFileNameCanHoldIt)
{
    struct Case {
        const char* name;
        const char* stem;
    };
    const Case cases[] = {
        {"Menu delay", "Menu delay"},
        {"What? Yes: no", "What_ Yes_ no"},
        {"a\\b/c*d\"e<f>g|h", "a_b_c_d_e_f_g_h"},
        {"tab\there\x1f" "end", "tab_here_end"},
        {"\xE9t\xE9", "\xE9t\xE9"},
        {"", "function 10020"},
        {"..", "function 10020"},
        {" . ", "function 10020"},
        {".hidden", ".hidden"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(backup::NamePart(c.name, 10020), c.stem);
    }
}

// A name near the file-name limit is cut, so that the backup and the
// temporary name it is written under both fit; its copies keep " (2)".
TEST(SaveRules, ALongFunctionNameIsCutSoThatEveryCopyOfItsBackupFits)
{
    platform::FixedClock clock({2024, 3, 5, 9, 5});
    TempAppFolder app(nullptr, &clock);
    const std::string folder = app.Path("backup");
    std::filesystem::create_directory(folder);
    const std::string longest = std::string(223, 'n'), stamp = "backup - 20240305 - 09.05 - ";
    for (const std::size_t length : {std::size_t{190}, std::size_t{210}, std::size_t{223}}) {
        SCOPED_TRACE(length);
        const std::string stem = stamp + longest.substr(0, length);
        std::vector<std::string> names;
        for (int copy = 0; copy < 2; ++copy)
            names.push_back(std::filesystem::path(
                                backup::WriteBackup(folder, longest.substr(0, length), 1, "REGEDIT4").Value())
                                .filename()
                                .string());
        ASSERT_EQ(app.Entries("backup"), (std::vector<std::string>{names[1], names[0]})); // " (2)" sorts first
        const std::string kept = names[0].substr(0, names[0].size() - 4);
        EXPECT_EQ(names[1], kept + " (2).reg");
        EXPECT_EQ(kept, stem.substr(0, kept.size()));
        EXPECT_TRUE(kept.starts_with(stamp + "nnnn"));
        EXPECT_LE(kept.size() + std::string(" (1000).reg").size(), platform::LongestNewFileName(folder));
        EXPECT_LE(kept.size() + std::string(" (1000).reg").size() + platform::detail::TemporaryNameExtra(), 255u);
        for (const std::string& name : names)
            std::filesystem::remove(std::filesystem::path(folder) / name);
    }
}
