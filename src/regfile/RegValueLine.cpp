#include "regfile/RegValueLine.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace tk {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

// The registry editor keeps hex lines within 80 columns.
constexpr std::size_t kHexLineLimit = 76;

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
bool IsPlainString(const RegValue& value)
{
    const auto& d = value.data;
    return value.type == RegType::Sz && !d.empty() && d.back() == 0
        && std::none_of(d.begin(), d.end() - 1, [](std::uint8_t b) { return b == 0 || b == '\r' || b == '\n'; });
}

// `column`: where the data begin in their line; kNoWrap keeps them on it.
constexpr std::size_t kNoWrap = static_cast<std::size_t>(-1);

void AppendHexData(std::string& out, const RegValue& value, std::size_t column)
{
    const std::size_t start = out.size();
    if (value.type == RegType::Binary) {
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

void AppendData(std::string& out, const RegValue& value, std::size_t column)
{
    if (IsPlainString(value)) {
        AppendQuoted(out, std::string_view(reinterpret_cast<const char*>(value.data.data()), value.data.size() - 1));
    } else if (value.type == RegType::Dword && value.data.size() == 4) {
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

void AppendValueLine(std::string& out, std::string_view name, const RegValue& value)
{
    const std::size_t lineStart = out.size();
    AppendValueName(out, name);
    AppendData(out, value, out.size() - lineStart);
}

void AppendHexValueLine(std::string& out, std::string_view name, const RegValue& value)
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

std::string ValueDataText(const ExactRegValue& value)
{
    std::string data;
    if (value.utf16)
        AppendHexData(data, value.value, kNoWrap);
    else
        AppendData(data, value.value, kNoWrap);
    return data;
}

std::optional<std::string> ValueDataText(const std::optional<ExactRegValue>& value)
{
    if (!value)
        return std::nullopt;
    return ValueDataText(*value);
}

std::optional<std::string> ValueDataText(const std::optional<RegValue>& value)
{
    if (!value)
        return std::nullopt;
    return ValueDataText(ExactRegValue{*value, false});
}

} // namespace tk
