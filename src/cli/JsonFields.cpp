#include "cli/JsonFields.h"

#include "platform/ConsoleText.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace cli {

namespace {

void Indent(std::string& out, int depth)
{
    out += '\n';
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
}

// Whether none of the eight bytes at `bytes` needs an escape: a list's text
// is mostly plain, and a word at a time passes it in an eighth of the steps.
bool EightArePlain(const char* bytes)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighs = 0x8080808080808080u;
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    // A byte below 0x20, and a byte equal to '"' or '\\' (zero once xored):
    // the borrow of a subtraction reaches its high bit only then.
    const auto below = [](std::uint64_t w, std::uint64_t n) { return (w - kOnes * n) & ~w & kHighs; };
    return (below(word, 0x20) | below(word ^ (kOnes * '"'), 1) | below(word ^ (kOnes * '\\'), 1)) == 0;
}

bool IsAscii(std::string_view text)
{
    constexpr std::uint64_t kHighs = 0x8080808080808080u;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, sizeof word);
        if ((word & kHighs) != 0)
            return false;
    }
    for (; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    return true;
}

} // namespace

void AppendJsonString(std::string& out, std::string_view text)
{
    out += '"';
    std::size_t plain = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        while (i + 8 <= text.size() && EightArePlain(text.data() + i))
            i += 8;
        if (i == text.size())
            break;
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        out.append(text, plain, i - plain);
        plain = i + 1;
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        }
        }
    }
    out.append(text, plain, text.size() - plain);
    out += '"';
}

JsonFields::JsonFields(std::string& out, int depth) : out_(out), depth_(depth)
{
    out_ += '{';
}

void JsonFields::Name(std::string_view name)
{
    // The comma, the line's indent and the name in one piece: a list writes
    // thousands. The names are the program's own words, with nothing to escape.
    const std::size_t indent = static_cast<std::size_t>(depth_ + 1) * 2;
    const std::size_t at = out_.size();
    out_.resize(at + (empty_ ? 0 : 1) + 1 + indent + 1 + name.size() + 3);
    char* next = out_.data() + at;
    if (!empty_)
        *next++ = ',';
    empty_ = false;
    *next++ = '\n';
    next = std::fill_n(next, indent, ' ');
    *next++ = '"';
    next = std::copy(name.begin(), name.end(), next);
    std::memcpy(next, "\": ", 3);
}

void JsonFields::Number(std::string_view name, std::int64_t number)
{
    Name(name);
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, number);
    out_.append(digits, written.ptr);
}

void JsonFields::Boolean(std::string_view name, bool value)
{
    Name(name);
    out_ += value ? "true" : "false";
}

void JsonFields::Null(std::string_view name)
{
    Name(name);
    out_ += "null";
}

void JsonFields::Text(std::string_view name, const std::optional<std::string>& text)
{
    if (!text)
        return Null(name);
    // ASCII is the same in every code page and in UTF-8: most texts need no
    // converted copy.
    if (IsAscii(*text))
        return Utf8(name, *text);
    Utf8(name, tk::Utf8Text(*text));
}

void JsonFields::Utf8(std::string_view name, std::string_view text)
{
    Name(name);
    AppendJsonString(out_, text);
}

void JsonFields::Close()
{
    if (!empty_)
        Indent(out_, depth_);
    out_ += '}';
}

} // namespace cli
