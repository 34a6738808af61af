// The rules a save applies before anything is written: the typed number's
// range by storage, and the backup's file name.
#include "saving/BackupFile.h"
#include "saving/NewValue.h"

#include <gtest/gtest.h>

#include <optional>

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
        EXPECT_EQ(BackupStem("202403051230", "202403050915", "202403051207", c.name, 10020),
                  std::string("backup - 20240305 - 09.07 - ") + c.stem);
    }
}
