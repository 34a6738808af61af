#include "toolkit/regstore/RegFile.h"

#include "toolkit/CaseFold.h"

#include "toolkit/regstore/RegNames.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <utility>

namespace tk {

namespace {

struct TextLine {
    std::string_view text;
    int number;
};

// Why a line was refused; the caller adds file and line.
struct Reason {
    std::string text;
};

struct ParsedData {
    std::optional<RegValue> value;
    bool continues = false; // hex data go on on the next line
};

struct NameSplit {
    std::string name;
    std::string_view data;
};

std::vector<TextLine> SplitLines(std::string_view text)
{
    std::vector<TextLine> lines;
    int number = 1;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back({text.substr(start, i - start), number++});
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back({text.substr(start), number});
    return lines;
}

std::string_view TrimLeft(std::string_view s)
{
    const std::size_t first = s.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view() : s.substr(first);
}

std::string_view Trim(std::string_view s)
{
    s = TrimLeft(s);
    const std::size_t last = s.find_last_not_of(" \t");
    return last == std::string_view::npos ? std::string_view() : s.substr(0, last + 1);
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// 1 to `maxDigits` hex digits and nothing else.
std::optional<std::uint32_t> HexNumber(std::string_view digits, std::size_t maxDigits)
{
    if (digits.empty() || digits.size() > maxDigits)
        return std::nullopt;
    std::uint32_t n = 0;
    for (char c : digits) {
        const int d = HexDigit(c);
        if (d < 0)
            return std::nullopt;
        n = n * 16 + static_cast<std::uint32_t>(d);
    }
    return n;
}

std::string Quote(std::string_view s)
{
    constexpr std::size_t shown = 40;
    return "\"" + std::string(s.substr(0, shown)) + (s.size() > shown ? "...\"" : "\"");
}

// Only \\ and \" are escapes; any other backslash stands for itself, as the
// registry editor reads it.
std::string Unescape(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"'))
            ++i;
        out += s[i];
    }
    return out;
}

// One line's share of hex data: bytes separated by commas, perhaps a trailing
// comma, perhaps a backslash saying that more follow on the next line.
Result<bool, Reason> AppendHexBytes(std::string_view text, std::vector<std::uint8_t>& bytes)
{
    text = Trim(text);
    bool continues = false;
    if (!text.empty() && text.back() == '\\') {
        continues = true;
        text = Trim(text.substr(0, text.size() - 1));
    }
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t comma = text.find(',', pos);
        const bool last = comma == std::string_view::npos;
        const std::string_view token = Trim(text.substr(pos, last ? std::string_view::npos : comma - pos));
        const auto byte = HexNumber(token, 2);
        if (!byte)
            return Reason{"hex data hold " + (token.empty() ? std::string("an empty byte") : Quote(token))
                          + " where two hex digits belong"};
        bytes.push_back(static_cast<std::uint8_t>(*byte));
        if (last)
            break;
        pos = comma + 1;
    }
    return continues;
}

Result<ParsedData, Reason> ParseData(std::string_view data)
{
    ParsedData parsed;
    if (data == "-")
        return parsed;
    if (!data.empty() && data[0] == '"') {
        if (data.size() < 2 || data.back() != '"')
            return Reason{"the text " + Quote(data) + " lacks its closing double quote"};
        parsed.value = RegValue::String(Unescape(data.substr(1, data.size() - 2)));
        return parsed;
    }
    if (StartsWithNoCase(data, "dword:")) {
        const auto n = HexNumber(data.substr(6), 8);
        if (!n)
            return Reason{"dword data need 1 to 8 hex digits, not " + Quote(data.substr(6))};
        parsed.value = RegValue::Dword(*n);
        return parsed;
    }
    if (StartsWithNoCase(data, "hex")) {
        RegValue value;
        value.type = RegType::Binary;
        std::string_view rest = data.substr(3);
        if (!rest.empty() && rest[0] == '(') {
            const std::size_t close = rest.find(')');
            const auto type = close == std::string_view::npos ? std::nullopt : HexNumber(rest.substr(1, close - 1), 8);
            if (!type)
                return Reason{"hex(N) needs a type number of 1 to 8 hex digits in " + Quote(data)};
            value.type = static_cast<RegType>(*type);
            rest = rest.substr(close + 1);
        }
        if (rest.empty() || rest[0] != ':')
            return Reason{"a colon must follow " + Quote(data.substr(0, data.size() - rest.size()))};
        const auto continues = AppendHexBytes(rest.substr(1), value.data);
        if (!continues)
            return continues.Error();
        parsed.continues = continues.Value();
        parsed.value = std::move(value);
        return parsed;
    }
    return Reason{"unknown data " + Quote(data) + "; expected \"text\", dword:, hex:, hex(N): or -"};
}

// The ways a line starting with a double quote can divide into name and data.
// First the escaped reading; then, for backup files that write the name as
// it is, every "= in the line in turn.
std::vector<NameSplit> QuotedNameSplits(std::string_view line)
{
    std::vector<NameSplit> splits;
    std::string name;
    std::size_t i = 1;
    for (; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '\\' || line[i + 1] == '"'))
            ++i;
        name += line[i];
    }
    if (i < line.size()) {
        const std::string_view rest = TrimLeft(line.substr(i + 1));
        if (!rest.empty() && rest[0] == '=')
            splits.push_back({std::move(name), Trim(rest.substr(1))});
    }
    for (std::size_t p = line.find("\"=", 1); p != std::string_view::npos; p = line.find("\"=", p + 1))
        splits.push_back({std::string(line.substr(1, p - 1)), Trim(line.substr(p + 2))});
    return splits;
}

// Reads the value that starts at lines[index]; leaves index on its last line.
Result<RegFileValueLine, Reason> ParseValue(const std::vector<TextLine>& lines, std::size_t& index)
{
    const std::string_view line = Trim(lines[index].text);
    std::vector<NameSplit> splits;
    if (line[0] == '@') {
        const std::string_view rest = TrimLeft(line.substr(1));
        if (!rest.empty() && rest[0] == '=')
            splits.push_back({std::string(), Trim(rest.substr(1))});
    } else {
        splits = QuotedNameSplits(line);
    }

    std::optional<Reason> firstRefusal;
    for (NameSplit& split : splits) {
        auto data = ParseData(split.data);
        if (!data) {
            if (!firstRefusal)
                firstRefusal = data.Error();
            continue;
        }
        RegFileValueLine value{lines[index].number, std::move(split.name), std::move(data.Value().value), {}};
        bool continues = data.Value().continues;
        while (continues && index + 1 < lines.size()) {
            ++index;
            if (Trim(lines[index].text).empty())
                continue;
            const auto more = AppendHexBytes(lines[index].text, value.value->data);
            if (!more)
                return more.Error();
            continues = more.Value();
        }
        return value;
    }
    if (firstRefusal)
        return *firstRefusal;
    return Reason{"a value line must read \"name\"=data or @=data"};
}

Result<RegFileSection, Reason> ParseSection(std::string_view line)
{
    if (line.size() < 2 || line.back() != ']')
        return Reason{"a key line must end with ]"};
    std::string_view inner = line.substr(1, line.size() - 2);
    RegFileSection section;
    if (!inner.empty() && inner[0] == '-') {
        section.deleteKey = true;
        inner.remove_prefix(1);
    }
    const std::size_t separator = inner.find('\\');
    const std::string_view rootName = inner.substr(0, separator);
    const auto root = std::find_if(std::begin(kRegRoots), std::end(kRegRoots),
                                   [rootName](const RegRootName& known) { return NamesEqual(rootName, known.name); });
    if (root == std::end(kRegRoots))
        return Reason{"unknown root " + Quote(rootName) + "; a key starts with HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, "
                      "HKEY_LOCAL_MACHINE, HKEY_USERS or HKEY_CURRENT_CONFIG"};
    section.root = root->root;
    if (separator != std::string_view::npos)
        section.subKey = std::string(inner.substr(separator + 1));
    if (!SplitKeyPath(section.subKey))
        return Reason{"an empty key name follows " + std::string(rootName)
                      + ": one backslash separates the root from its first key"};
    return section;
}

} // namespace

std::string RegFileError::Message() const
{
    return "\"" + fileName + "\", line " + std::to_string(line) + ": " + reason;
}

Result<RegFileDocument, RegFileError> ParseRegFile(std::string_view text, const std::string& fileName)
{
    const std::vector<TextLine> lines = SplitLines(text);
    if (lines.empty() || Trim(lines[0].text) != "REGEDIT4")
        return RegFileError{fileName, 1, "the first line must be \"REGEDIT4\""};

    RegFileDocument document;
    std::vector<std::string> comments;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = Trim(lines[i].text);
        const int number = lines[i].number;
        if (line.empty())
            continue;
        if (line[0] == ';') {
            comments.emplace_back(line);
            continue;
        }
        if (line[0] == '[') {
            auto section = ParseSection(line);
            if (!section)
                return RegFileError{fileName, number, section.Error().text};
            section.Value().line = number;
            section.Value().comments = std::exchange(comments, {});
            document.sections.push_back(std::move(section.Value()));
            continue;
        }
        if (line[0] != '"' && line[0] != '@')
            return RegFileError{fileName, number, "expected a [key] line or a value line, not " + Quote(line)};
        if (document.sections.empty())
            return RegFileError{fileName, number, "a value line before the first [key] line"};
        if (document.sections.back().deleteKey)
            return RegFileError{fileName, number, "a value line in a section that removes its key"};
        auto value = ParseValue(lines, i);
        if (!value)
            return RegFileError{fileName, lines[i].number, value.Error().text};
        value.Value().comments = std::exchange(comments, {});
        document.sections.back().values.push_back(std::move(value.Value()));
    }
    document.closingComments = std::move(comments);
    return document;
}

} // namespace tk
