#include "util/PowerClass.h"

#include <gtest/gtest.h>

#include <climits>

using namespace util;

TEST(Numbers, DecimalToIntCountsNonDigitsAsZeroAtTheirPlace)
{
    const struct {
        std::string text;
        std::int32_t value;
    } cases[] = {
        {"42", 42},
        {"0042", 42},
        {"4x2", 402},
        {"7 ", 70},
        {" 7", 7},
        {"    5", 5},
        {"-5", 5},
        {"", 0},
        {"12a4", 1204},
        {"1a000", 10000},
        {"99999", 99999},
        {"\xB2", 0}, // superscript two in Windows-1252 is no digit
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MIN},
        {"4294967297", 1},
        {"1" + std::string(31, '0'), INT32_MIN},
        {"1" + std::string(40, '0'), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PowerClass::DecimalToInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(Numbers, HexToIntTakesBothLetterCases)
{
    const struct {
        std::string text;
        std::int32_t value;
    } cases[] = {
        {"0407", 1031},
        {"0409", 1033},
        {"040c", 1036},
        {"040C", 1036},
        {"0c0a", 3082},
        {"0C0A", 3082},
        {"0c07", 3079},
        {"1g07", 0x1007},
        {"0x1F", 31},
        {"", 0},
        {"ffffffff", -1},
        {"100000000", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PowerClass::HexToInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(Numbers, IntPowerWrapsAt32Bits)
{
    const struct {
        std::int32_t base;
        std::int32_t exponent;
        std::int32_t value;
    } cases[] = {
        {10, 0, 1},
        {10, -3, 1},
        {0, 0, 1},
        {0, 3, 0},
        {2, 10, 1024},
        {-2, 3, -8},
        {10, 9, 1000000000},
        {10, 10, 1410065408},
        {2, 31, INT32_MIN},
        {2, 32, 0},
        {-1, INT32_MAX, -1},
        {3, INT32_MAX, -1431655765},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PowerClass::IntPower(c.base, c.exponent), c.value) << c.base << '^' << c.exponent;
}
