#include "platform/Cp1252.h"

#include <array>
#include <cstdio>

namespace platform {

namespace {

// 0x80-0x9F, where Windows-1252 differs from Latin-1.
constexpr std::array<char32_t, 32> kHighBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, //
};

// The UTF-16LE code unit at byte offset i.
char32_t Utf16Unit(std::string_view bytes, std::size_t i)
{
    return static_cast<char32_t>(static_cast<unsigned char>(bytes[i]))
         | static_cast<char32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
}

} // namespace

char32_t DecodeCp1252(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighBlock[byte - 0x80];
    return byte;
}

std::optional<char> EncodeCp1252(char32_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return static_cast<char>(ch);
    for (std::size_t i = 0; i < kHighBlock.size(); ++i)
        if (kHighBlock[i] == ch)
            return static_cast<char>(0x80 + i);
    return std::nullopt;
}

void AppendUtf8(std::string& out, char32_t ch)
{
    if (ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF))
        ch = 0xFFFD;
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
}

Utf8Step DecodeUtf8(std::string_view bytes)
{
    using Kind = Utf8Step::Kind;
    if (bytes.empty())
        return {Kind::Incomplete, 0, 0};
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (lead < 0x80)
        return {Kind::Char, lead, 1};
    std::size_t need = 0;
    char32_t ch = 0;
    char32_t least = 0; // smallest value of that length, to refuse overlong forms
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 2;
        ch = lead & 0x1F;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 3;
        ch = lead & 0x0F;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 4;
        ch = lead & 0x07;
        least = 0x10000;
    } else {
        return {Kind::Invalid, 0, 1};
    }
    for (std::size_t i = 1; i < need; ++i) {
        if (i >= bytes.size())
            return {Kind::Incomplete, 0, bytes.size()};
        const auto b = static_cast<unsigned char>(bytes[i]);
        if ((b & 0xC0) != 0x80)
            return {Kind::Invalid, 0, i};
        ch = (ch << 6) | (b & 0x3F);
    }
    if (ch < least || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF))
        return {Kind::Invalid, 0, need};
    return {Kind::Char, ch, need};
}

std::string Cp1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    // ASCII is the same in both: runs of it are copied at once.
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = at;
        while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80)
            ++end;
        out.append(text, at, end - at);
        if (end < text.size())
            AppendUtf8(out, DecodeCp1252(static_cast<unsigned char>(text[end++])));
        at = end;
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const Utf8Step step = DecodeUtf8(text);
        if (step.kind == Utf8Step::Kind::Char)
            if (const auto byte = EncodeCp1252(step.ch))
                out += *byte;
        text.remove_prefix(step.kind == Utf8Step::Kind::Incomplete ? text.size() : step.length);
    }
    return out;
}

std::string Cp1252ToUtf16Le(std::string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (const char c : text) {
        const char32_t unit = DecodeCp1252(static_cast<unsigned char>(c));
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    }
    return out;
}

Result<std::string, std::size_t> Utf16LeToCp1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        if (i + 1 == bytes.size())
            return i;
        const auto byte = EncodeCp1252(Utf16Unit(bytes, i));
        if (!byte)
            return i;
        out += *byte;
    }
    return out;
}

std::string Utf16LeFault(std::string_view bytes, std::size_t offset)
{
    if (offset + 1 >= bytes.size())
        return "the last character lacks its second byte";
    const char32_t unit = Utf16Unit(bytes, offset);
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(unit));
    if (unit >= 0xD800 && unit <= 0xDFFF)
        return std::string("a character beyond U+FFFF (") + name + "...), which Windows-1252 cannot hold";
    return std::string(name) + " is a character that Windows-1252 cannot hold";
}

} // namespace platform
