#include "platform/SystemText.h"

namespace tk {

std::string NameCharacters(std::u32string_view characters)
{
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    std::string names;
    for (const char32_t ch : characters) {
        int digits = 4;
        while (digits < 8 && (ch >> (4 * digits)) != 0)
            ++digits;
        names += names.empty() ? "U+" : ", U+";
        for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
            names += kDigits[(ch >> shift) & 0xF];
    }
    return names;
}

} // namespace tk
