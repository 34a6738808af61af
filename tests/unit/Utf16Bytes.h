#pragma once
// Text as the registry's wide form holds it: UTF-16LE bytes, the
// terminating zero unit included.
#include <cstdint>
#include <string_view>
#include <vector>

inline std::vector<std::uint8_t> Utf16Bytes(std::u16string_view text)
{
    std::vector<std::uint8_t> bytes;
    for (const char16_t unit : text)
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(unit & 0xFF), static_cast<std::uint8_t>(unit >> 8)});
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}
