#include "regfile/RegValueLine.h"

#include "platform/SystemText.h"
#include "regfile/Texts.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace regfile {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void AppendQuoted(std::string& out, std::string_view text)
{
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
}

void AppendHexNumber(std::string& out, std::uint32_t n, int minDigits)
{
    char digits[8];
    int count = 0;
    do {
        digits[count++] = kHexDigits[n & 0xf];
        n >>= 4;
    } while (n != 0);
    for (int i = count; i < minDigits; ++i)
        out += '0';
    while (count > 0)
        out += digits[--count];
}

// A REG_SZ that "text" reads back byte for byte: exactly one zero byte, at
// the end, and no line end inside.
bool IsPlainString(const platform::RegValue& value)
{
    const auto& d = value.data;
    return value.type == platform::RegType::Sz && !d.empty() && d.back() == 0
        && std::none_of(d.begin(), d.end() - 1, [](std::uint8_t b) { return b == 0 || b == '\r' || b == '\n'; });
}

// `column`: where the data begin in their line; kNoWrap keeps them on it.
constexpr std::size_t kNoWrap = static_cast<std::size_t>(-1);

void AppendHexData(std::string& out, const platform::RegValue& value, std::size_t column)
{
    const std::size_t start = out.size();
    if (value.type == platform::RegType::Binary) {
        out += "hex:";
    } else {
        out += "hex(";
        AppendHexNumber(out, static_cast<std::uint32_t>(value.type), 1);
        out += "):";
    }
    if (column != kNoWrap)
        column += out.size() - start;
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        out += kHexDigits[value.data[i] >> 4];
        out += kHexDigits[value.data[i] & 0xf];
        if (i + 1 == value.data.size())
            break;
        out += ',';
        column += 3;
        if (column != kNoWrap && column > kHexLineLimit) {
            out += "\\\r\n  ";
            column = 2;
        }
    }
}

} // namespace

void AppendValueName(std::string& out, std::string_view name)
{
    if (name.empty())
        out += '@';
    else
        AppendQuoted(out, name);
    out += '=';
}

namespace {

void AppendData(std::string& out, const platform::RegValue& value, std::size_t column)
{
    if (IsPlainString(value)) {
        AppendQuoted(out, std::string_view(reinterpret_cast<const char*>(value.data.data()), value.data.size() - 1));
    } else if (value.type == platform::RegType::Dword && value.data.size() == 4) {
        out += "dword:";
        const auto& d = value.data;
        AppendHexNumber(out, static_cast<std::uint32_t>(d[0]) | (static_cast<std::uint32_t>(d[1]) << 8)
                                 | (static_cast<std::uint32_t>(d[2]) << 16) | (static_cast<std::uint32_t>(d[3]) << 24),
                        8);
    } else {
        AppendHexData(out, value, column);
    }
}

} // namespace

void AppendValueLine(std::string& out, std::string_view name, const platform::RegValue& value)
{
    const std::size_t lineStart = out.size();
    AppendValueName(out, name);
    AppendData(out, value, out.size() - lineStart);
}

void AppendHexValueLine(std::string& out, std::string_view name, const platform::RegValue& value)
{
    const std::size_t lineStart = out.size();
    AppendValueName(out, name);
    AppendHexData(out, value, out.size() - lineStart);
}

void AppendRemovedValueLine(std::string& out, std::string_view name)
{
    AppendValueName(out, name);
    out += '-';
}

std::string ValueDataText(const platform::ExactRegValue& value)
{
    std::string data;
    if (value.utf16)
        AppendHexData(data, value.value, kNoWrap);
    else
        AppendData(data, value.value, kNoWrap);
    return data;
}

std::optional<std::string> ValueDataText(const std::optional<platform::ExactRegValue>& value)
{
    if (!value)
        return std::nullopt;
    return ValueDataText(*value);
}

std::optional<std::string> ValueDataText(const std::optional<platform::RegValue>& value)
{
    if (!value)
        return std::nullopt;
    return ValueDataText(platform::ExactRegValue{*value, false});
}

namespace {

// The value's characters: UTF-16 units of the wide form, or the code page's.
std::u16string Characters(const platform::ExactRegValue& value)
{
    const auto& d = value.value.data;
    if (!value.utf16)
        return platform::ToUtf16(std::string_view(reinterpret_cast<const char*>(d.data()), d.size()));
    return platform::DecodeUtf16Le(d);
}

// The strings of text data that end in NUL (a REG_MULTI_SZ's list in a
// second NUL, which may be missing), none when a string is empty where it
// may not be or holds a control character: the line could not show it.
std::optional<std::vector<std::u16string>> Strings(std::u16string chars, bool multi)
{
    if (chars.empty() || chars.back() != u'\0')
        return std::nullopt;
    chars.pop_back();
    if (multi && !chars.empty() && chars.back() == u'\0')
        chars.pop_back();
    std::vector<std::u16string> strings;
    std::size_t start = 0;
    for (std::size_t nul = chars.find(u'\0'); multi && nul != std::u16string::npos; nul = chars.find(u'\0', start)) {
        strings.push_back(chars.substr(start, nul - start));
        start = nul + 1;
    }
    strings.push_back(chars.substr(start));
    const bool control = std::any_of(strings.begin(), strings.end(), [](const std::u16string& s) {
        return std::any_of(s.begin(), s.end(), [](char16_t c) { return c < u' ' || c == 0x7f; });
    });
    const bool empty = std::any_of(strings.begin(), strings.end(), [](const std::u16string& s) { return s.empty(); });
    if (control || (multi && empty))
        return std::nullopt;
    return strings;
}

std::u16string Quoted(const std::u16string& text)
{
    return u"\"" + text + u"\"";
}

} // namespace

ShownValue ShownValueOf(const platform::ExactRegValue& value)
{
    const platform::RegType type = value.value.type;
    if (type == platform::RegType::Sz || type == platform::RegType::ExpandSz || type == platform::RegType::MultiSz)
        if (auto strings = Strings(Characters(value), type == platform::RegType::MultiSz))
            return ShownValue{true, std::move(*strings)};
    return ShownValue{false, {platform::ToUtf16(ValueDataText(value))}};
}

std::u16string ShownText(const platform::ExactRegValue& value)
{
    const ShownValue shown = ShownValueOf(value);
    if (!shown.text)
        return shown.strings.front();
    std::u16string line;
    for (const std::u16string& s : shown.strings)
        line += (line.empty() ? u"" : u", ") + Quoted(s);
    if (value.value.type != platform::RegType::ExpandSz)
        return line;
    return TextAroundWide(text::ExpandableText, line);
}

std::string RegTypeName(platform::RegType type)
{
    switch (type) {
    case platform::RegType::None: return "REG_NONE";
    case platform::RegType::Sz: return "REG_SZ";
    case platform::RegType::ExpandSz: return "REG_EXPAND_SZ";
    case platform::RegType::Binary: return "REG_BINARY";
    case platform::RegType::Dword: return "REG_DWORD";
    case platform::RegType::DwordBigEndian: return "REG_DWORD_BIG_ENDIAN";
    case platform::RegType::Link: return "REG_LINK";
    case platform::RegType::MultiSz: return "REG_MULTI_SZ";
    case platform::RegType::ResourceList: return "REG_RESOURCE_LIST";
    case platform::RegType::Qword: return "REG_QWORD";
    }
    return std::to_string(static_cast<std::uint32_t>(type));
}

} // namespace regfile
