#pragma once
// Texts beyond the system's code page. The program keeps its texts in the
// system's ANSI code page (Windows-1252 on Linux), but Windows can hold more
// in a control, a picked path or a registry value. These convert such a text
// without look-alikes: "\u0141" never becomes "L", as the system's own
// conversion would make it, silently.
#include "platform/Texts.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace platform {

struct CodePageText {
    // The text in the code page, with '?' for each character it lacks.
    std::string text;
    // The characters it lacks, each once, in the order they first come; empty
    // when the text converts exactly.
    std::u32string foreign;
};

// A UTF-16 text in the code page. An unpaired surrogate counts as a
// character the code page lacks.
CodePageText FromUtf16(std::u16string_view text);

// A code page text as UTF-16; every byte has its character.
std::u16string ToUtf16(std::string_view text);

// The characters by their Unicode numbers for a message: "U+0141, U+03A9".
std::string NameCharacters(std::u32string_view characters);

// UTF-8 as UTF-16; nothing when the bytes are no UTF-8.
std::optional<std::u16string> Utf8ToUtf16(std::string_view text);

// UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// The text of `id` around a text beyond the code page: the translation's
// words, which are in the code page, with `argument` as it is for %1.
std::u16string TextAroundWide(const TextId& id, std::u16string_view argument);

// Whether a zero unit is one of the text's units (a REG_MULTI_SZ's strings
// and their terminators) or ends the text, as the system reads a REG_SZ.
enum class ZeroUnit { Kept, Ends };

// UTF-16LE bytes, a registry value's wide form, as their units; a last odd
// byte, which no unit has, is dropped.
std::u16string DecodeUtf16Le(std::span<const std::uint8_t> bytes, ZeroUnit zero = ZeroUnit::Kept);

namespace detail {

// The common part of FromUtf16: walks the characters, asking `encode` for
// each one's bytes in the code page (nothing when it has none).
template <class Encode>
CodePageText ConvertEach(std::u16string_view text, const Encode& encode)
{
    CodePageText out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t ch = text[i];
        std::u16string_view unit = text.substr(i, 1);
        const bool high = ch >= 0xD800 && ch <= 0xDBFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            ch = 0x10000 + ((ch - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            unit = text.substr(i++, 2);
        }
        const bool surrogate = ch >= 0xD800 && ch <= 0xDFFF;
        std::string bytes;
        if (!surrogate && encode(unit, bytes)) {
            out.text += bytes;
            continue;
        }
        out.text += '?';
        if (out.foreign.find(ch) == std::u32string::npos)
            out.foreign += ch;
    }
    return out;
}

} // namespace detail

} // namespace platform
