#pragma once
// The program keeps its texts in Windows-1252; the terminal speaks UTF-8 and
// the registry editor's version 5 files UTF-16. These convert at the edge.
#include "platform/Result.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The character a Windows-1252 byte stands for. The five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the
// same value, as Windows does, so that every byte survives a round trip.
char32_t DecodeCp1252(unsigned char byte);

// The Windows-1252 byte of a character; none for characters the code page
// cannot hold.
std::optional<char> EncodeCp1252(char32_t ch);

void AppendUtf8(std::string& out, char32_t ch);

// One step of UTF-8 decoding at the start of `bytes`.
struct Utf8Step {
    enum class Kind { Char, Invalid, Incomplete };
    Kind kind = Kind::Invalid;
    char32_t ch = 0;
    std::size_t length = 1; // bytes consumed; for Incomplete, the bytes present
};
Utf8Step DecodeUtf8(std::string_view bytes);

std::string Cp1252ToUtf8(std::string_view text);
// Characters without a Windows-1252 form and malformed sequences are dropped.
std::string Utf8ToCp1252(std::string_view text);

// Windows-1252 bytes as UTF-16LE text (no byte-order mark); every byte has
// its one code unit.
std::string Cp1252ToUtf16Le(std::string_view text);

// UTF-16LE text (no byte-order mark) as Windows-1252 bytes. Nothing is
// dropped: the error is the byte offset of the first code unit the code page
// cannot hold (every character above U+FFFF among them), or of a last byte
// that has no partner.
Result<std::string, std::size_t> Utf16LeToCp1252(std::string_view bytes);
// Why the conversion stopped at that offset, in words for a message.
std::string Utf16LeFault(std::string_view bytes, std::size_t offset);

} // namespace platform
