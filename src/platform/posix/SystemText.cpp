#include "platform/SystemText.h"

#include "platform/Cp1252.h"

namespace platform {

// On Linux the program's code page is Windows-1252.
CodePageText FromUtf16(std::u16string_view text)
{
    return detail::ConvertEach(text, [](std::u16string_view unit, std::string& bytes) {
        const auto byte = unit.size() == 1 ? EncodeCp1252(unit[0]) : std::nullopt;
        if (byte)
            bytes = *byte;
        return byte.has_value();
    });
}

std::u16string ToUtf16(std::string_view text)
{
    std::u16string wide;
    for (const char c : text)
        wide += static_cast<char16_t>(DecodeCp1252(static_cast<unsigned char>(c)));
    return wide;
}

} // namespace platform
