#include "util/PowerClass.h"

#include <string_view>

namespace util {

namespace {

// Number texts are read from the right. A character that is no digit counts
// as a zero digit but keeps its place; there is no sign. Sums and place values
// wrap at 32 bits, so they are held unsigned.
std::int32_t PlaceValueSum(const std::string& text, std::uint32_t base, std::string_view digits,
                           std::string_view alternativeDigits)
{
    std::uint32_t sum = 0;
    std::uint32_t place = 1;
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        std::size_t digit = digits.find(*it);
        if (digit == std::string_view::npos)
            digit = alternativeDigits.find(*it);
        if (digit != std::string_view::npos)
            sum += static_cast<std::uint32_t>(digit) * place;
        place *= base;
    }
    return static_cast<std::int32_t>(sum);
}

} // namespace

std::int32_t PowerClass::DecimalToInt(const std::string& text)
{
    return PlaceValueSum(text, 10, "0123456789", "");
}

std::int32_t PowerClass::HexToInt(const std::string& text)
{
    // The registry writes language identifiers as 040C as well as 040c.
    return PlaceValueSum(text, 16, "0123456789abcdef", "0123456789ABCDEF");
}

std::int32_t PowerClass::IntPower(std::int32_t base, std::int32_t exponent)
{
    // Squaring keeps huge exponents cheap; modulo 2^32 the product is the same.
    std::uint32_t result = 1;
    std::uint32_t factor = static_cast<std::uint32_t>(base);
    for (std::uint32_t left = exponent > 0 ? static_cast<std::uint32_t>(exponent) : 0; left > 0; left >>= 1) {
        if (left & 1)
            result *= factor;
        factor *= factor;
    }
    return static_cast<std::int32_t>(result);
}

} // namespace util
