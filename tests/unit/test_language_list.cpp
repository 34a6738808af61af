#include "i18n/LanguageList.h"

#include <gtest/gtest.h>

using namespace i18n;

TEST(LanguageList, SectionHeadersWithTheirDisplayNames)
{
    const std::vector<std::string> lines = {
        "free text before",
        "[1031]", "00001 Bitte Sprache", "00002 Deutsch", "00005 x", "[EOL]",
        "[1033] ",          // a header followed by a blank is no header
        "[10330]",          // nor one of seven characters
        "[1033]", "00001 Pick", "00002 English", "[EOL]",
        "[----]", "[1036]", // the two lines after a header are never headers
        "00002 System default language",
        "[1049]", "00001 only one line",
    };
    const auto list = ListLanguages(lines);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].code, "[1031]");
    EXPECT_EQ(list[0].displayName, "Deutsch");
    EXPECT_EQ(list[1].code, "[1033]");
    EXPECT_EQ(list[1].displayName, "English");
    EXPECT_EQ(list[2].code, "[----]");
    EXPECT_EQ(list[2].displayName, "System default language");
    EXPECT_EQ(list[3].code, "[1049]");
    EXPECT_EQ(list[3].displayName, "");
}
