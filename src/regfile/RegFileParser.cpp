#include "regfile/RegFile.h"

#include "platform/CaseFold.h"
#include "platform/Cp1252.h"

#include "regfile/RegLines.h"
#include "regfile/RegValueLine.h"
#include "regfile/Texts.h"
#include "platform/RegNames.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <utility>

namespace regfile {

namespace {

using reglines::IsBlank;
using reglines::Trim;
using reglines::TrimLeft;

struct TextLine {
    std::string_view text;
    int number;
};

// Why a line was refused; the caller adds file and line.
struct Reason {
    std::string text;
};

struct ParsedData {
    std::optional<platform::RegValue> value;
    bool hex = false;       // written as hex bytes, not as text or a number
    bool continues = false; // hex data go on on the next line
};

struct NameSplit {
    std::string name;
    std::string_view data;
};

// What differs between the two forms of the file.
struct FormatRules {
    RegFileFormat format;
    std::string_view header;
    // Whether hex(1), hex(2) and hex(7) data are UTF-16LE text, as in a
    // version 5 file, or already bytes in the code page, as in REGEDIT4.
    bool utf16Text;
    // The store's own file: every value byte for byte, and a backslash
    // before any other character kept as itself, as older stores hold it.
    bool exact;
    // Text the code page cannot hold stays UTF-16LE, marked, instead of
    // failing its line (RegWideText::Keep).
    bool keepWide = false;
};
constexpr FormatRules kFormats[] = {
    {RegFileFormat::Regedit4, "REGEDIT4", false, false},
    {RegFileFormat::Version5, "Windows Registry Editor Version 5.00", true, false},
    {RegFileFormat::Store, "REGEDIT4", false, true},
};

const FormatRules& RulesOf(RegFileFormat format)
{
    return *std::find_if(std::begin(kFormats), std::end(kFormats),
                         [format](const FormatRules& rules) { return rules.format == format; });
}

// The registry editor ends lines with CR LF; LF alone is read too. A CR that
// no LF follows stays in the line's text and makes the line bad: read as a
// line end, it would take what follows out of a quoted text or a comment.
std::string LoneCr()
{
    return platform::Text(text::LoneCr);
}

bool HasLoneCr(std::string_view line)
{
    return line.find('\r') != std::string_view::npos;
}

std::vector<TextLine> SplitLines(std::string_view text, int number)
{
    std::vector<TextLine> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back({reglines::LineText(text, start, end), number++});
        start = end + 1;
    }
    return lines;
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

bool IsEscape(std::string_view s, std::size_t i)
{
    return s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"');
}

// What a comment leaves of data that are not quoted text: a ';' starts a
// comment wherever it stands after the data.
std::string_view BeforeComment(std::string_view data)
{
    return Trim(data.substr(0, data.find(';')));
}

// The text of quoted data, which start with a double quote. Only \\ and \"
// are escapes; a backslash before anything else is a line the registry
// editor skips, or, where `exact`, stands for itself. A double quote ends the
// text; only a comment may follow it.
platform::Result<std::string, Reason> QuotedText(std::string_view data, bool exact)
{
    std::string text;
    std::size_t copied = 1; // the text's bytes before this are in `text`
    for (std::size_t i = 1; i < data.size(); ++i) {
        if (data[i] == '\\' && i + 1 < data.size() && !(exact && !IsEscape(data, i))) {
            if (!IsEscape(data, i))
                return Reason{platform::Text(text::UnknownEscape, {Quote(data), Quote(data.substr(i, 2))})};
            text.append(data.substr(copied, i - copied));
            copied = ++i;
            continue;
        }
        if (data[i] != '"')
            continue;
        text.append(data.substr(copied, i - copied));
        const std::string_view rest = TrimLeft(data.substr(i + 1));
        if (rest.empty() || rest[0] == ';')
            return text;
        if (rest.find('"') != std::string_view::npos)
            return Reason{platform::Text(text::UnescapedQuote, {Quote(data)})};
        return Reason{platform::Text(text::AfterClosingQuote, {Quote(rest)})};
    }
    return Reason{platform::Text(text::NoClosingQuote, {Quote(data)})};
}

// Quoted data, well formed or not: a reading of a line that leaves such data
// is a way the line may have been meant.
bool LooksQuoted(std::string_view data)
{
    return data.size() >= 2 && data.front() == '"' && data.back() == '"';
}

// One line's share of hex data: bytes separated by commas, perhaps a trailing
// comma, perhaps a backslash after a comma saying that more follow on the
// next line, perhaps a comment. Only the value's first line may hold the
// backslash alone.
platform::Result<bool, Reason> AppendHexBytes(std::string_view text, std::vector<std::uint8_t>& bytes, bool firstLine)
{
    text = BeforeComment(text);
    bool continues = false;
    if (!text.empty() && text.back() == '\\') {
        continues = true;
        text = Trim(text.substr(0, text.size() - 1));
        if (text.empty() && !firstLine)
            return Reason{platform::Text(text::OnlyBackslash)};
        if (!text.empty() && text.back() != ',')
            return Reason{platform::Text(text::BackslashAfterByte)};
    }
    // Two digits and a comma a byte; room at least doubles, as data may go on
    // for many lines.
    const std::size_t needed = bytes.size() + (text.size() + 1) / 3;
    if (needed > bytes.capacity())
        bytes.reserve(std::max(needed, 2 * bytes.capacity()));
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t comma = text.find(',', pos);
        const bool last = comma == std::string_view::npos;
        const std::string_view token = Trim(text.substr(pos, last ? std::string_view::npos : comma - pos));
        const auto byte = HexNumber(token, 2);
        if (!byte)
            return Reason{platform::Text(text::BadHexByte, {token.empty() ? platform::Text(text::AnEmptyByte) : Quote(token)})};
        bytes.push_back(static_cast<std::uint8_t>(*byte));
        if (last)
            break;
        pos = comma + 1;
    }
    return continues;
}

platform::Result<ParsedData, Reason> ParseData(std::string_view data, const FormatRules& rules)
{
    ParsedData parsed;
    if (data.starts_with('-') && BeforeComment(data) == "-")
        return parsed;
    if (!data.empty() && data[0] == '"') {
        auto text = QuotedText(data, rules.exact);
        if (!text)
            return text.Error();
        parsed.value = platform::RegValue::String(text.Value());
        return parsed;
    }
    if (platform::StartsWithNoCase(data, "dword:")) {
        const std::string_view digits = BeforeComment(data.substr(6));
        const auto n = HexNumber(digits, 8);
        if (!n)
            return Reason{platform::Text(text::BadDword, {Quote(digits)})};
        parsed.value = platform::RegValue::Dword(*n);
        return parsed;
    }
    if (platform::StartsWithNoCase(data, "hex")) {
        platform::RegValue value;
        value.type = platform::RegType::Binary;
        std::string_view rest = data.substr(3);
        if (!rest.empty() && rest[0] == '(') {
            const std::size_t close = rest.find(')');
            const auto type = close == std::string_view::npos ? std::nullopt : HexNumber(rest.substr(1, close - 1), 8);
            if (!type)
                return Reason{platform::Text(text::BadHexType, {Quote(data)})};
            value.type = static_cast<platform::RegType>(*type);
            rest = rest.substr(close + 1);
        }
        if (rest.empty() || rest[0] != ':')
            return Reason{platform::Text(text::ColonMissing, {Quote(data.substr(0, data.size() - rest.size()))})};
        const auto continues = AppendHexBytes(rest.substr(1), value.data, true);
        if (!continues)
            return continues.Error();
        parsed.hex = true;
        parsed.continues = continues.Value();
        parsed.value = std::move(value);
        return parsed;
    }
    return Reason{platform::Text(text::UnknownData, {Quote(data)})};
}

// The name as the program's own files quote it, with \\ and \" escaped, and
// the data after its "=", if the line reads so.
std::optional<NameSplit> EscapedName(std::string_view line)
{
    std::string name;
    std::size_t copied = 1; // the name's bytes before this are in `name`
    std::size_t i = 1;
    for (; i < line.size() && line[i] != '"'; ++i) {
        if (IsEscape(line, i)) {
            name.append(line.substr(copied, i - copied));
            copied = ++i;
        }
    }
    if (i == line.size())
        return std::nullopt;
    name.append(line.substr(copied, i - copied));
    const std::string_view rest = TrimLeft(line.substr(i + 1));
    if (rest.empty() || rest[0] != '=')
        return std::nullopt;
    return NameSplit{std::move(name), Trim(rest.substr(1))};
}

struct Reading {
    std::string name;
    ParsedData data;
};

// Older backup files wrote the name as it is, so that any "= in the line may
// end it. Such a reading counts only where it is the one way to read the line:
// no other leaves data that are valid or at least look quoted.
std::optional<Reading> UnescapedName(std::string_view line, const FormatRules& rules)
{
    std::optional<Reading> found;
    int ways = 0;
    for (std::size_t p = line.find("\"=", 1); p != std::string_view::npos; p = line.find("\"=", p + 1)) {
        const std::string_view data = Trim(line.substr(p + 2));
        auto parsed = ParseData(data, rules);
        if (parsed)
            found = Reading{std::string(line.substr(1, p - 1)), std::move(parsed.Value())};
        if (parsed || LooksQuoted(data))
            ++ways;
    }
    if (ways != 1)
        return std::nullopt;
    return found;
}

// Looked up only for a line that is refused: every value line passes here.
Reason ValueLineShape()
{
    return Reason{platform::Text(text::ValueLineShape)};
}

platform::Result<Reading, Reason> ReadNameAndData(std::string_view line, const FormatRules& rules)
{
    if (line[0] == '@') {
        const std::string_view rest = TrimLeft(line.substr(1));
        if (rest.empty() || rest[0] != '=')
            return ValueLineShape();
        auto parsed = ParseData(Trim(rest.substr(1)), rules);
        if (!parsed)
            return parsed.Error();
        return Reading{std::string(), std::move(parsed.Value())};
    }
    std::optional<Reason> refusal;
    if (auto escaped = EscapedName(line)) {
        auto parsed = ParseData(escaped->data, rules);
        if (parsed)
            return Reading{std::move(escaped->name), std::move(parsed.Value())};
        refusal = parsed.Error();
    }
    if (auto older = UnescapedName(line, rules))
        return std::move(*older);
    return refusal ? *refusal : ValueLineShape();
}

bool IsTextType(platform::RegType type)
{
    return type == platform::RegType::Sz || type == platform::RegType::ExpandSz || type == platform::RegType::MultiSz;
}

// hex(1), hex(2) and hex(7) data of a version 5 file as the code page's
// bytes; true when they stay UTF-16LE, as `keepWide` lets text the code page
// lacks (but never a last byte without its partner).
platform::Result<bool, Reason> NarrowText(platform::RegValue& value, bool keepWide)
{
    if (!IsTextType(value.type))
        return false;
    const std::string_view wide(reinterpret_cast<const char*>(value.data.data()), value.data.size());
    const auto narrow = platform::Utf16LeToCp1252(wide);
    if (!narrow) {
        if (keepWide && wide.size() % 2 == 0)
            return true;
        return Reason{platform::Text(text::Version5TextData,
                               {std::to_string(static_cast<unsigned>(value.type)), platform::Utf16LeFault(wide, narrow.Error())})};
    }
    value.data.assign(narrow.Value().begin(), narrow.Value().end());
    return false;
}

// A text value as the registry editor stores it from a file: hex(1), hex(2)
// and hex(7) data that end in a character other than NUL get one (a NUL
// unit when they are UTF-16LE).
void EndWithNul(platform::RegValue& value, bool utf16)
{
    const std::size_t unit = utf16 ? 2 : 1;
    if (!IsTextType(value.type) || value.data.empty())
        return;
    if (std::any_of(value.data.end() - unit, value.data.end(), [](std::uint8_t b) { return b != 0; }))
        value.data.insert(value.data.end(), unit, 0);
}

// Reads the value that starts at lines[index]; leaves index on its last line.
platform::Result<RegFileValueLine, Reason> ParseValue(const std::vector<TextLine>& lines, std::size_t& index,
                                            const FormatRules& rules)
{
    auto reading = ReadNameAndData(Trim(lines[index].text), rules);
    if (!reading)
        return reading.Error();
    if (const std::string& name = reading.Value().name; name.size() > kMaxRegValueNameLength)
        return Reason{platform::Text(text::ValueNameTooLong, {Quote(name), std::to_string(name.size())})};
    RegFileValueLine value{lines[index].number, std::move(reading.Value().name),
                           std::move(reading.Value().data.value), {}, false};
    bool continues = reading.Value().data.continues;
    const std::size_t first = index;
    std::size_t backslash = index;
    // Blank lines and comment lines may stand between the lines of hex data;
    // a backslash that ends the file ends the data with the bytes before it.
    while (continues && index + 1 < lines.size()) {
        ++index;
        if (HasLoneCr(lines[index].text))
            return Reason{LoneCr()};
        const std::string_view line = Trim(lines[index].text);
        if (line.empty() || line[0] == ';')
            continue;
        const auto more = AppendHexBytes(line, value.value->data, false);
        if (!more)
            return more.Error();
        continues = more.Value();
        backslash = index;
    }
    index = backslash;
    if (rules.utf16Text && reading.Value().data.hex) {
        auto narrowed = NarrowText(*value.value, rules.keepWide);
        if (!narrowed) {
            index = first;
            return narrowed.Error();
        }
        value.utf16 = narrowed.Value();
    }
    if (!rules.exact && value.value)
        EndWithNul(*value.value, value.utf16);
    return value;
}

// How many key names a sub-key has; refused where the Windows registry
// refuses it: more levels than it holds, or a key name longer than it takes.
platform::Result<std::size_t, Reason> KeyDepth(std::string_view subKey)
{
    std::size_t depth = 0;
    for (std::size_t pos = 0; pos < subKey.size();) {
        const std::size_t end = std::min(subKey.find('\\', pos), subKey.size());
        if (end - pos > kMaxRegKeyNameLength)
            return Reason{platform::Text(text::KeyNameTooLong, {Quote(subKey.substr(pos, end - pos)), std::to_string(end - pos)})};
        depth += end > pos ? 1 : 0;
        pos = end + 1;
    }
    if (depth > kMaxRegKeyDepth)
        return Reason{platform::Text(text::KeyTooDeep, {std::to_string(depth)})};
    return depth;
}

platform::Result<RegKeyLine, Reason> ParseKeyLine(std::string_view line)
{
    if (line.size() < 2 || line.back() != ']')
        return Reason{platform::Text(text::KeyLineEnd)};
    std::string_view inner = line.substr(1, line.size() - 2);
    RegKeyLine key;
    if (!inner.empty() && inner[0] == '-') {
        key.deleteKey = true;
        inner.remove_prefix(1);
    }
    const std::size_t separator = inner.find('\\');
    const std::string_view rootName = inner.substr(0, separator);
    // Most files spell the root as the registry editor does: that is tried
    // first, byte for byte.
    auto root = std::find_if(std::begin(platform::kRegRoots), std::end(platform::kRegRoots),
                             [rootName](const platform::RegRootName& known) { return rootName == known.name; });
    if (root == std::end(platform::kRegRoots))
        root = std::find_if(std::begin(platform::kRegRoots), std::end(platform::kRegRoots),
                            [rootName](const platform::RegRootName& known) { return platform::NamesEqual(rootName, known.name); });
    if (root == std::end(platform::kRegRoots))
        return Reason{platform::Text(text::UnknownRoot, {Quote(rootName)})};
    key.root = root->root;
    if (separator != std::string_view::npos)
        key.subKey = inner.substr(separator + 1);
    if (key.subKey.starts_with('\\'))
        return Reason{platform::Text(text::EmptyFirstKeyName, {rootName})};
    if (key.deleteKey && key.subKey.empty())
        return Reason{platform::Text(text::RootCannotBeRemoved, {root->name})};
    const auto depth = KeyDepth(key.subKey);
    if (!depth)
        return depth.Error();
    key.depth = depth.Value();
    return key;
}

// What becomes of the lines parsed: a document, nothing but the answer
// whether they parse, a key's values as a rewrite writes them, or each
// section handed to a RegSectionSink as soon as the next one starts.
enum class Keep { Document, Nothing, Rewritten, Sections };

// Where the values go when they are Keep::Rewritten.
struct RewriteSink {
    RegRewrittenValues& values;
    bool keepComments;
    std::string_view text; // the lines' text, to see what follows a line
};

// Whether a CR LF follows `line` in `text`, which holds it.
bool CrLfAfter(std::string_view text, std::string_view line)
{
    const char* after = line.data() + line.size();
    return text.data() + text.size() - after >= 2 && after[0] == '\r' && after[1] == '\n';
}

// A value line in the form that a rewrite writes, wherever it stands: `lead`
// its start up to and with the "=" ("name"= or @=), `name` the name between
// the quotes, escaped as written (empty for @), and the data as written, or
// "-". Only \\ and \" escape in name and text, as written; nothing else is,
// so that copying the line is writing it. Nothing is copied to find it.
struct WrittenLine {
    std::string_view lead;
    std::string_view name;
    std::string_view data;
    std::size_t more = 0; // the lines after its first that hex data go on for
};

bool IsLowerHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

// The bytes that end or escape a name or a text in the form written, or may
// not stand in one: one look-up a byte, as every byte of a rewrite passes.
constexpr std::array<bool, 256> kStopsWritten = [] {
    std::array<bool, 256> stops{};
    for (const char c : {'"', '\\', '\0', '\r'})
        stops[static_cast<unsigned char>(c)] = true;
    return stops;
}();

bool StopsWritten(char c)
{
    return kStopsWritten[static_cast<unsigned char>(c)];
}

bool IsWrittenText(std::string_view data)
{
    if (data.size() < 2 || data.front() != '"' || data.back() != '"')
        return false;
    for (std::size_t i = 1; i + 1 < data.size(); ++i) {
        if (!StopsWritten(data[i]))
            continue;
        if (data[i] != '\\' || i + 2 >= data.size() || (data[i + 1] != '\\' && data[i + 1] != '"'))
            return false;
        ++i;
    }
    return true;
}

bool IsWrittenDword(std::string_view data)
{
    return data.size() == 14 && data.starts_with("dword:") && std::all_of(data.begin() + 6, data.end(), IsLowerHexDigit);
}

// Where hex data written over lines end: how many lines after their first
// they take, and the last of them.
struct WrittenHexEnd {
    std::size_t more = 0;
    std::string_view last;
};

// Hex data from `data` on, its line starting `column` characters before
// them, exactly as AppendValueLine wraps and writes them. `next(line)` gives
// the line after `line`, if there is one: the lines are listed, or found as
// they are needed. Text types of a file from outside are parsed, as reading
// them changes their bytes.
template <typename NextLine>
std::optional<WrittenHexEnd> WrittenHex(std::string_view data, std::size_t column, const FormatRules& rules,
                                        NextLine next)
{
    std::uint32_t type = static_cast<std::uint32_t>(platform::RegType::Binary);
    std::size_t pos = 4;
    if (data.starts_with("hex(")) {
        const std::size_t close = data.find(')');
        const std::string_view digits = data.substr(4, close == std::string_view::npos ? 0 : close - 4);
        if (digits.empty() || digits.size() > 8 || (digits.size() > 1 && digits[0] == '0')
            || !std::all_of(digits.begin(), digits.end(), IsLowerHexDigit) || close + 1 >= data.size()
            || data[close + 1] != ':')
            return std::nullopt;
        type = *HexNumber(digits, 8);
        if (type == static_cast<std::uint32_t>(platform::RegType::Binary))
            return std::nullopt;
        pos = close + 2;
    } else if (!data.starts_with("hex:")) {
        return std::nullopt;
    }
    const auto regType = static_cast<platform::RegType>(type);
    if (!rules.exact && IsTextType(regType))
        return std::nullopt;
    column += pos;
    std::string_view line = data;
    std::size_t more = 0;
    std::size_t count = 0;
    int previous = -1;
    bool breaksText = false; // a NUL or line end before the last byte
    for (;;) {
        if (pos == line.size()) {
            if (count > 0)
                return std::nullopt;
            break;
        }
        if (pos + 2 > line.size() || !IsLowerHexDigit(line[pos]) || !IsLowerHexDigit(line[pos + 1]))
            return std::nullopt;
        breaksText = breaksText || previous == 0 || previous == '\r' || previous == '\n';
        previous = HexDigit(line[pos]) * 16 + HexDigit(line[pos + 1]);
        ++count;
        pos += 2;
        if (pos == line.size())
            break;
        if (line[pos++] != ',')
            return std::nullopt;
        column += 3;
        if (column > kHexLineLimit) {
            if (pos + 1 != line.size() || line[pos] != '\\')
                return std::nullopt;
            // The next line, after a CR LF, two blanks in.
            const std::optional<std::string_view> after = next(line);
            if (!after || after->data() != line.data() + line.size() + 2 || !after->starts_with("  "))
                return std::nullopt;
            ++more;
            line = *after;
            pos = column = 2;
        }
    }
    // Those bytes are written as text or as a dword.
    if (regType == platform::RegType::Sz && previous == 0 && !breaksText)
        return std::nullopt;
    if (regType == platform::RegType::Dword && count == 4)
        return std::nullopt;
    return WrittenHexEnd{more, line};
}

template <typename NextLine>
std::optional<WrittenLine> WrittenForm(std::string_view line, const FormatRules& rules, NextLine next)
{
    WrittenLine written;
    std::size_t i = 1;
    if (line[0] == '"') {
        std::size_t escapes = 0;
        for (; i < line.size(); ++i) {
            if (!StopsWritten(line[i]))
                continue;
            if (line[i] == '"')
                break;
            if (!IsEscape(line, i))
                return std::nullopt;
            ++escapes;
            ++i;
        }
        if (i == line.size() || i - 1 - escapes > kMaxRegValueNameLength)
            return std::nullopt;
        written.name = line.substr(1, i - 1);
        ++i;
    }
    if (i == line.size() || line[i] != '=')
        return std::nullopt;
    written.lead = line.substr(0, i + 1);
    written.data = line.substr(i + 1);
    if (written.data == "-" || IsWrittenText(written.data) || IsWrittenDword(written.data))
        return written;
    const auto hex = WrittenHex(written.data, written.lead.size(), rules, next);
    if (!hex)
        return std::nullopt;
    const std::string_view end = hex->last;
    written.data = std::string_view(written.data.data(), static_cast<std::size_t>(end.data() + end.size() - written.data.data()));
    written.more = hex->more;
    return written;
}

// The lines after lines[index], one a call.
auto ListedLinesAfter(const std::vector<TextLine>& lines, std::size_t index)
{
    return [&lines, index](std::string_view) mutable -> std::optional<std::string_view> {
        if (++index == lines.size())
            return std::nullopt;
        return lines[index].text;
    };
}

// Keep::Sections: the document holds one section at most, the one being read.
void HandOverSection(RegFileDocument& document, RegSectionSink& sink)
{
    if (document.sections.empty())
        return;
    sink.Section(std::move(document.sections.back()));
    document.sections.pop_back();
}

// Whether a section's value lines are as a rewrite writes them, so that it
// may copy them as they stand: each in the form written, as it stands in the
// text (no blanks before it, a CR LF after it), sorted by name, each name
// once, none removing a value, no blank line or comment among them.
class CopiedAsWritten {
public:
    explicit CopiedAsWritten(std::string_view text) : end_(text.data() + text.size()) {}

    void Blank() { valuesEnded_ = true; }
    void Value(const TextLine& raw, const TextLine& last, const std::optional<WrittenLine>& written)
    {
        const char* after = last.text.data() + last.text.size();
        copied_ = copied_ && written && !valuesEnded_ && written->data != "-" && raw.text.data() == written->lead.data()
            && written->name.find('\\') == std::string_view::npos
            && (!previous_ || platform::LessNoCase(*previous_, written->name)) && end_ - after >= 2 && after[0] == '\r'
            && after[1] == '\n';
        if (written)
            previous_ = written->name;
    }
    bool Copied() const { return copied_; }

private:
    const char* end_;
    bool copied_ = true;
    bool valuesEnded_ = false;
    std::optional<std::string_view> previous_;
};

// The lines after a file's first line, numbered from lines[from].
platform::Result<RegFileDocument, RegFileError> ParseLines(const std::vector<TextLine>& lines, std::size_t from,
                                                 const FormatRules& rules, const std::string& fileName, Keep keep,
                                                 const RewriteSink* rewrite = nullptr,
                                                 RegSectionSink* sections = nullptr,
                                                 CopiedAsWritten* copied = nullptr)
{
    RegFileDocument document;
    std::vector<std::string> comments;
    for (std::size_t i = from; i < lines.size(); ++i) {
        const std::string_view line = Trim(lines[i].text);
        const int number = lines[i].number;
        if (HasLoneCr(line))
            return RegFileError{fileName, number, LoneCr()};
        if (line.empty() || line[0] == ';') {
            if (copied != nullptr)
                copied->Blank();
            if (!line.empty())
                comments.emplace_back(line);
            continue;
        }
        if (line[0] == '[') {
            const auto key = ParseKeyLine(line);
            if (!key)
                return RegFileError{fileName, number, key.Error().text};
            if (keep == Keep::Sections)
                HandOverSection(document, *sections);
            RegFileSection section{number, key.Value().root, std::string(key.Value().subKey), key.Value().deleteKey,
                                   {}, std::exchange(comments, {})};
            document.sections.push_back(std::move(section));
            continue;
        }
        if (line[0] != '"' && line[0] != '@')
            return RegFileError{fileName, number, platform::Text(text::ExpectedKeyOrValue, {Quote(line)})};
        if (document.sections.empty())
            return RegFileError{fileName, number, platform::Text(text::ValueBeforeFirstKey)};
        if (document.sections.back().deleteKey)
            return RegFileError{fileName, number, platform::Text(text::ValueInRemovedKey)};
        // A line in the form written parses: a check or a rewrite need not
        // parse it into a value.
        if (keep == Keep::Nothing || keep == Keep::Rewritten) {
            const auto written = WrittenForm(line, rules, ListedLinesAfter(lines, i));
            if (copied != nullptr)
                copied->Value(lines[i], lines[i + (written ? written->more : 0)], written);
            if (written) {
                if (keep == Keep::Rewritten)
                    rewrite->values.AddWritten(written->lead, written->name, written->data,
                                               CrLfAfter(rewrite->text, written->data),
                                               rewrite->keepComments ? std::exchange(comments, {})
                                                                     : std::vector<std::string>());
                comments.clear();
                i += written->more;
                continue;
            }
        }
        auto value = ParseValue(lines, i, rules);
        if (!value)
            return RegFileError{fileName, lines[i].number, value.Error().text};
        value.Value().comments = std::exchange(comments, {});
        if (keep == Keep::Document || keep == Keep::Sections)
            document.sections.back().values.push_back(std::move(value.Value()));
        if (keep == Keep::Rewritten) {
            if (!rewrite->keepComments)
                value.Value().comments.clear();
            rewrite->values.AddParsed(std::move(value.Value()));
        }
    }
    if (keep == Keep::Sections)
        HandOverSection(document, *sections);
    document.closingComments = std::move(comments);
    return document;
}

// A whole file's first line names its form.
std::optional<RegFileError> FirstLineFault(const std::vector<TextLine>& lines, const FormatRules& rules,
                                           const std::string& fileName)
{
    if (!lines.empty() && HasLoneCr(lines[0].text))
        return RegFileError{fileName, 1, LoneCr()};
    if (lines.empty() || Trim(lines[0].text) != rules.header)
        return RegFileError{fileName, 1, platform::Text(text::FirstLineMustBe, {rules.header})};
    return std::nullopt;
}

// The lines of a file listed a batch at a time, so that a parse of a large
// file holds no list of all its lines. A batch after the first starts where
// a section does: at the blank and comment lines before a key line that no
// hex data run into, so the section's comments go with it. The text is
// whole, or comes from a source a piece at a time: then only the lines of a
// batch and the piece after them are held.
class LineBatches {
public:
    LineBatches(std::string_view text, int firstLine) : text_(text), number_(firstLine) {}
    LineBatches(RegTextSource& source, int firstLine) : source_(&source), number_(firstLine), ended_(false) {}

    // The next batch; empty at the end of the text.
    const std::vector<TextLine>& Next()
    {
        Drop();
        places_.clear();
        std::optional<std::size_t> last; // the last line that is not blank nor a comment
        while (start_ < text_.size() || More()) {
            const std::size_t lineFeed = text_.find('\n', start_);
            // A line runs on into the next piece.
            if (lineFeed == std::string_view::npos && More())
                continue;
            const std::size_t end = std::min(lineFeed, text_.size());
            const std::string_view trimmed = Trim(reglines::LineText(text_, start_, end));
            if (places_.size() >= kBatchLines && last && !trimmed.empty() && trimmed[0] == '['
                && !RegLineContinuesHexData(Line(places_[*last]).text)) {
                if (*last + 1 < places_.size()) {
                    start_ = places_[*last + 1].start;
                    number_ = places_[*last + 1].number;
                    places_.resize(*last + 1);
                }
                return Lines();
            }
            if (!trimmed.empty() && trimmed[0] != ';')
                last = places_.size();
            places_.push_back({start_, end, number_});
            start_ = end + 1;
            ++number_;
        }
        return Lines();
    }

    bool AtEnd() const { return ended_ && start_ >= text_.size(); }

private:
    static constexpr std::size_t kBatchLines = 4096;

    // Where a line lies in the text: a place stays while more text comes.
    struct Place {
        std::size_t start;
        std::size_t end;
        int number;
    };
    TextLine Line(const Place& place) const { return {reglines::LineText(text_, place.start, place.end), place.number}; }
    const std::vector<TextLine>& Lines()
    {
        lines_.clear();
        for (const Place& place : places_)
            lines_.push_back(Line(place));
        return lines_;
    }

    // The text of the batches before goes.
    void Drop()
    {
        if (source_ == nullptr || start_ == 0)
            return;
        held_.erase(0, std::min(start_, held_.size()));
        start_ = 0;
        text_ = held_;
    }

    bool More()
    {
        if (ended_ || !source_->More(held_)) {
            ended_ = true;
            return false;
        }
        text_ = held_;
        return true;
    }

    std::string_view text_;
    RegTextSource* source_ = nullptr;
    std::string held_; // the text from a source not parsed yet, and the batch's
    std::size_t start_ = 0;
    int number_;
    bool ended_ = true;
    std::vector<Place> places_;
    std::vector<TextLine> lines_;
};

// ParseRegFileSections of the batches; `valueLines` once the first line is right.
template <typename ValueLines>
platform::Result<void, RegFileError> ParseBatches(LineBatches& batches, ValueLines valueLines,
                                                  const std::string& fileName, RegFileFormat format,
                                                  RegWideText wide, RegSectionSink& sink)
{
    FormatRules rules = RulesOf(format);
    rules.keepWide = wide == RegWideText::Keep;
    const std::vector<TextLine>* lines = &batches.Next();
    if (auto fault = FirstLineFault(*lines, rules, fileName))
        return std::move(*fault);
    sink.Expect(valueLines());
    // Each batch but the last ends before a section: only the last one's
    // comments close the file.
    for (std::size_t from = 1;; from = 0, lines = &batches.Next()) {
        auto parsed = ParseLines(*lines, from, rules, fileName, Keep::Sections, nullptr, &sink);
        if (!parsed)
            return parsed.Error();
        if (batches.AtEnd()) {
            sink.Closing(std::move(parsed.Value().closingComments));
            return {};
        }
    }
}

// The line of `text` that starts at `start`, without its line end, as
// SplitLines finds it; and where the line after it starts.
std::string_view LineFrom(std::string_view text, std::size_t start)
{
    return reglines::LineText(text, start, std::min(text.find('\n', start), text.size()));
}

std::size_t LineAfter(std::string_view text, std::string_view line)
{
    const std::size_t end = static_cast<std::size_t>(line.data() - text.data()) + line.size();
    if (end == text.size())
        return end;
    return end + (text[end] == '\r' ? 2 : 1); // a CR that is not in the line is one before an LF
}

// Keep::Rewritten of a section, found line by line as it goes instead of
// listing its lines first, for a section of the lines a rewrite copies:
// its key line, then lines in the form written, blank lines and comments.
// Those are read exactly as ParseLines reads them. At any other line it
// takes back what it added and says no, and ParseLines reads the section.
bool RewriteWrittenSection(std::string_view text, const FormatRules& rules, const RewriteSink& rewrite)
{
    const std::string_view keyLine = Trim(LineFrom(text, 0));
    if (keyLine.empty() || keyLine[0] != '[' || HasLoneCr(keyLine))
        return false;
    if (const auto key = ParseKeyLine(keyLine); !key || key.Value().deleteKey)
        return false;
    const RegRewrittenValues::Mark mark = rewrite.values.Marked();
    // Hex data go on after a CR LF.
    const auto next = [text](std::string_view line) -> std::optional<std::string_view> {
        const std::size_t end = static_cast<std::size_t>(line.data() - text.data()) + line.size();
        if (end + 2 > text.size() || text[end] != '\r' || text[end + 1] != '\n')
            return std::nullopt;
        return LineFrom(text, end + 2);
    };
    std::vector<std::string> comments;
    for (std::size_t start = LineAfter(text, LineFrom(text, 0)); start < text.size();) {
        const std::string_view raw = LineFrom(text, start);
        start = LineAfter(text, raw);
        const std::string_view line = Trim(raw);
        if (line.empty())
            continue;
        if (line[0] == ';' && !HasLoneCr(line)) {
            if (rewrite.keepComments)
                comments.emplace_back(line);
            continue;
        }
        // A line in the form written holds no lone CR: its checks refuse one.
        const auto written = line[0] == '"' || line[0] == '@' ? WrittenForm(line, rules, next) : std::nullopt;
        if (!written) {
            rewrite.values.BackTo(mark);
            return false;
        }
        rewrite.values.AddWritten(written->lead, written->name, written->data, CrLfAfter(text, written->data),
                                  std::exchange(comments, {}));
        if (written->more > 0)
            start = LineAfter(text, written->data);
    }
    return true;
}

} // namespace

std::string RegFileError::Message() const
{
    if (line == 0)
        return platform::Text(text::RegFileWhole, {fileName, reason});
    return platform::Text(text::RegFileAtLine, {fileName, std::to_string(line), reason});
}

platform::Result<RegFileDocument, RegFileError> ParseRegFile(std::string_view text, const std::string& fileName,
                                                   RegFileFormat format, RegWideText wide)
{
    FormatRules rules = RulesOf(format);
    rules.keepWide = wide == RegWideText::Keep;
    const std::vector<TextLine> lines = SplitLines(text, 1);
    if (auto fault = FirstLineFault(lines, rules, fileName))
        return std::move(*fault);
    return ParseLines(lines, 1, rules, fileName, Keep::Document);
}

platform::Result<void, RegFileError> ParseRegFileSections(std::string_view text, const std::string& fileName,
                                                RegFileFormat format, RegWideText wide, RegSectionSink& sink)
{
    LineBatches batches(text, 1);
    return ParseBatches(batches, [text] { return RegFileValueLines(text); }, fileName, format, wide, sink);
}

platform::Result<void, RegFileError> ParseRegFileSections(RegTextSource& source, std::size_t valueLines,
                                                          const std::string& fileName, RegFileFormat format,
                                                          RegWideText wide, RegSectionSink& sink)
{
    LineBatches batches(source, 1);
    return ParseBatches(batches, [valueLines] { return valueLines; }, fileName, format, wide, sink);
}

std::size_t RegFileValueLines(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = TrimLeft(text.substr(start, end - start));
        count += !line.empty() && (line[0] == '"' || line[0] == '@');
        start = end + 1;
    }
    return count;
}

platform::Result<RegFileDocument, RegFileError> ParseRegFileLines(std::string_view text, int firstLine,
                                                        const std::string& fileName, RegFileFormat format)
{
    return ParseLines(SplitLines(text, firstLine), 0, RulesOf(format), fileName, Keep::Document);
}

platform::Result<void, RegFileError> CheckRegFileLines(std::string_view text, int firstLine, const std::string& fileName,
                                             RegFileFormat format)
{
    const auto parsed = ParseLines(SplitLines(text, firstLine), 0, RulesOf(format), fileName, Keep::Nothing);
    if (!parsed)
        return parsed.Error();
    return {};
}

platform::Result<bool, RegFileError> CheckRegFileSection(std::string_view text, int firstLine, const std::string& fileName,
                                               RegFileFormat format)
{
    CopiedAsWritten copied(text);
    const auto parsed =
        ParseLines(SplitLines(text, firstLine), 0, RulesOf(format), fileName, Keep::Nothing, nullptr, nullptr, &copied);
    if (!parsed)
        return parsed.Error();
    return copied.Copied();
}

platform::Result<void, RegFileError> RewriteRegFileLines(std::string_view text, int firstLine, const std::string& fileName,
                                               RegFileFormat format, bool keepComments, RegRewrittenValues& values)
{
    const RewriteSink sink{values, keepComments, text};
    values.Expect(0);
    if (RewriteWrittenSection(text, RulesOf(format), sink))
        return {};
    const std::vector<TextLine> lines = SplitLines(text, firstLine);
    values.Expect(lines.size());
    const auto parsed = ParseLines(lines, 0, RulesOf(format), fileName, Keep::Rewritten, &sink);
    if (!parsed)
        return parsed.Error();
    return {};
}

namespace {

// Whether the value line, trimmed, may be named `name`: its name read with
// escapes, or written as it is before a "= (as older backups have it), is
// `name`. Which of the two readings is the line's own, only its parse says.
bool MayName(std::string_view line, std::string_view name)
{
    if (line[0] == '@')
        return name.empty();
    if (line.size() > name.size() + 2 && line.compare(name.size() + 1, 2, "\"=") == 0
        && platform::NamesEqual(line.substr(1, name.size()), name))
        return true;
    // EscapedName's reading, compared as it goes: most lines differ early.
    std::size_t i = 1;
    for (const char wanted : name) {
        if (i < line.size() && IsEscape(line, i))
            ++i;
        else if (i < line.size() && line[i] == '"')
            return false;
        if (i >= line.size() || platform::FoldedByte(line[i]) != platform::FoldedByte(wanted))
            return false;
        ++i;
    }
    if (i >= line.size() || line[i] != '"')
        return false;
    const std::string_view rest = TrimLeft(line.substr(i + 1));
    return !rest.empty() && rest[0] == '=';
}

// Whether the line that `rest` begins, its blanks taken, may be named `name`
// by its first two bytes. A section's lines mostly name other values, and
// are passed here without finding their ends; MayName settles the others.
bool MayStartName(std::string_view rest, std::string_view name)
{
    if (rest.empty())
        return false;
    if (rest[0] == '@')
        return name.empty();
    if (rest[0] != '"')
        return false;
    return name.empty() || rest.size() < 2 || rest[1] == '\\' || platform::FoldedByte(rest[1]) == platform::FoldedByte(name[0]);
}

} // namespace

platform::Result<std::optional<RegFileValueLine>, RegFileError> FindRegFileValue(std::string_view text, int firstLine,
                                                                       const std::string& fileName,
                                                                       RegFileFormat format, std::string_view name)
{
    const FormatRules& rules = RulesOf(format);
    std::optional<RegFileValueLine> found;
    int number = firstLine;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t first = start;
        while (first < text.size() && IsBlank(text[first]))
            ++first;
        if (!MayStartName(text.substr(first), name)) {
            start = std::min(text.find('\n', first), text.size()) + 1;
            ++number;
            continue;
        }
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = Trim(reglines::LineText(text, start, end));
        // Lines of hex data never start as a value line does, so the lines
        // of other values need not be told apart from the rest.
        if (line.empty() || (line[0] != '"' && line[0] != '@') || !MayName(line, name)) {
            start = end + 1;
            ++number;
            continue;
        }
        if (HasLoneCr(line))
            return RegFileError{fileName, number, LoneCr()};
        // The value's lines: one, or the rest as far as its hex data run.
        const std::size_t valueEnd = RegLineContinuesHexData(line) ? text.size() : std::min(end + 1, text.size());
        const std::vector<TextLine> lines = SplitLines(text.substr(start, valueEnd - start), number);
        std::size_t last = 0;
        auto value = ParseValue(lines, last, rules);
        if (!value)
            return RegFileError{fileName, number, value.Error().text};
        if (platform::NamesEqual(value.Value().name, name))
            found = std::move(value.Value());
        // Where ParseValue stopped: its data's last line.
        for (std::size_t i = 0; i <= last; ++i)
            start = std::min(text.find('\n', start), text.size()) + 1;
        number += static_cast<int>(last) + 1;
    }
    return found;
}

bool RegLineContinuesHexData(std::string_view line)
{
    line = Trim(line);
    // Most lines are settled here: a backslash that continues stands at the
    // line's end or before its comment.
    if (line.empty() || line[0] == '[' || (!line.ends_with('\\') && line.find(';') == std::string_view::npos))
        return false;
    if (line[0] == '"' || line[0] == '@') {
        // Whether text data are exact or not, they do not continue.
        const auto reading = ReadNameAndData(line, RulesOf(RegFileFormat::Store));
        return reading && reading.Value().data.continues;
    }
    return BeforeComment(line).ends_with('\\');
}

std::string_view RegFileHeader(RegFileFormat format)
{
    return RulesOf(format).header;
}

platform::Result<RegKeyLine, std::string> ParseRegKeyLine(std::string_view line)
{
    // The whole-file parse refuses a lone CR before it reads a key line; a
    // key line read on its own is held to the same rule.
    const std::string_view trimmed = Trim(line);
    if (HasLoneCr(trimmed))
        return LoneCr();
    auto key = ParseKeyLine(trimmed);
    if (!key)
        return std::move(key.Error().text);
    return key.Value();
}

} // namespace regfile
