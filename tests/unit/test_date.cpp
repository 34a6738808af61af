#include "unit/TempAppFolder.h"

#include "backup/Stamp.h"
#include "util/PowerClass.h"

#include <gtest/gtest.h>

using namespace util;

namespace {

class FixedClock final : public platform::IClock {
public:
    explicit FixedClock(platform::LocalTime time) : time_(time) {}
    platform::LocalTime Now() override
    {
        ++calls;
        return time_;
    }
    int calls = 0;

private:
    platform::LocalTime time_;
};

} // namespace

TEST(Date, PadWithZerosFillsOnTheLeftOnly)
{
    EXPECT_EQ(PowerClass::PadWithZeros("7", 2), "07");
    EXPECT_EQ(PowerClass::PadWithZeros("12", 2), "12");
    EXPECT_EQ(PowerClass::PadWithZeros("123", 2), "123");
    EXPECT_EQ(PowerClass::PadWithZeros("", 2), "00");
    EXPECT_EQ(PowerClass::PadWithZeros("abc", 8), "00000abc");
    EXPECT_EQ(PowerClass::PadWithZeros("5", 0), "5");
    EXPECT_EQ(PowerClass::PadWithZeros("5", -1), "5");
}

TEST(Date, TimestampIsYearAndTwoDigitFieldsFromOneClockReading)
{
    const struct {
        platform::LocalTime time;
        std::string text;
    } cases[] = {
        {{2024, 3, 5, 7, 9}, "202403050709"},
        {{1999, 12, 31, 23, 59}, "199912312359"},
        {{2030, 10, 1, 0, 0}, "203010010000"},
    };
    for (const auto& c : cases) {
        FixedClock clock(c.time);
        TempAppFolder app(nullptr, &clock);
        EXPECT_EQ(backup::StampNow(), c.text);
        EXPECT_EQ(clock.calls, 1);
    }
}
