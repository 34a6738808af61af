#include "platform/SystemText.h"

#include "platform/Cp1252.h"

namespace platform {

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

std::optional<std::u16string> Utf8ToUtf16(std::string_view text)
{
    std::u16string wide;
    while (!text.empty()) {
        const Utf8Step step = DecodeUtf8(text);
        if (step.kind != Utf8Step::Kind::Char)
            return std::nullopt;
        if (step.ch < 0x10000) {
            wide += static_cast<char16_t>(step.ch);
        } else {
            wide += static_cast<char16_t>(0xD800 + ((step.ch - 0x10000) >> 10));
            wide += static_cast<char16_t>(0xDC00 + ((step.ch - 0x10000) & 0x3FF));
        }
        text.remove_prefix(step.length);
    }
    return wide;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t ch = text[i];
        if (ch >= 0xD800 && ch <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            ch = 0x10000 + ((ch - 0xD800) << 10) + (text[++i] - 0xDC00);
        AppendUtf8(out, ch); // a surrogate left alone becomes U+FFFD
    }
    return out;
}

std::u16string TextAroundWide(const TextId& id, std::u16string_view argument)
{
    // A control character no translation holds marks the argument's place.
    const std::u16string words = ToUtf16(Text(id, {"\x01"}));
    const std::size_t at = words.find(u'\x01');
    return at == std::u16string::npos ? words
                                      : words.substr(0, at) + std::u16string(argument) + words.substr(at + 1);
}

std::u16string DecodeUtf16Le(std::span<const std::uint8_t> bytes, ZeroUnit zero)
{
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
        if (unit == u'\0' && zero == ZeroUnit::Ends)
            break;
        text += unit;
    }
    return text;
}

} // namespace platform
