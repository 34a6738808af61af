// A data file that reports no size, as Linux makes it.
#include "platform/Exceptions.h"
#include "platform/WholeFile.h"

#include <gtest/gtest.h>

TEST(TextFile, AFileWithoutSizeKeepsToTheLimit)
{
    // /proc reports no size: only the reading itself can keep to the limit.
    try {
        platform::ReadWholeFile("/proc/self/status", 9);
        ADD_FAILURE() << "no error for /proc/self/status";
    } catch (const platform::CFileException& e) {
        EXPECT_EQ(e.Path(), "/proc/self/status");
        EXPECT_NE(e.Cause().find("9 bytes"), std::string::npos) << e.Cause();
    }
}
