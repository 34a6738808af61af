#pragma once
// Letter case as Windows compares names in the Windows-1252 code page: the
// registry's key and value names, combo-box entries and mnemonics all match
// "Ä" with "ä" and "Š" with "š". One table serves them all, so the store and
// the controls can never disagree about which names are the same.
#include <algorithm>
#include <array>
#include <string_view>

namespace platform {

namespace detail {

constexpr std::array<unsigned char, 256> MakeFoldTable()
{
    std::array<unsigned char, 256> t{};
    for (int b = 0; b < 256; ++b)
        t[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b);
    for (int b = 'A'; b <= 'Z'; ++b)
        t[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b + 0x20);
    // The accented capitals; 0xD7 is the multiplication sign.
    for (int b = 0xC0; b <= 0xDE; ++b)
        if (b != 0xD7)
            t[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b + 0x20);
    t[0x8A] = 0x9A; // Š
    t[0x8C] = 0x9C; // Œ
    t[0x8E] = 0x9E; // Ž
    t[0x9F] = 0xFF; // Ÿ
    return t;
}

inline constexpr std::array<unsigned char, 256> kFoldTable = MakeFoldTable();

} // namespace detail

// The lower-case form of a Windows-1252 byte; every other byte is itself.
constexpr char FoldCase(char byte)
{
    return static_cast<char>(detail::kFoldTable[static_cast<unsigned char>(byte)]);
}

constexpr unsigned char FoldedByte(char byte)
{
    return detail::kFoldTable[static_cast<unsigned char>(byte)];
}

// Inline, as they run for every name a tree or a parser compares.
inline bool EqualNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldedByte(x) == FoldedByte(y); });
}

inline bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

// Whether `name` ends in `extension` (".reg"), letter case ignored, with
// something before it: ".reg" alone is no name with that extension.
inline bool HasExtensionNoCase(std::string_view name, std::string_view extension)
{
    return name.size() > extension.size() && EqualNoCase(name.substr(name.size() - extension.size()), extension);
}

inline bool ContainsNoCase(std::string_view text, std::string_view part)
{
    return std::search(text.begin(), text.end(), part.begin(), part.end(),
                       [](char x, char y) { return FoldedByte(x) == FoldedByte(y); }) != text.end();
}

// A strict weak order consistent with EqualNoCase.
inline bool LessNoCase(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return FoldedByte(x) < FoldedByte(y); });
}

} // namespace platform
