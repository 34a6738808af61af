#pragma once
// One value line of a REGEDIT4 file, as the registry editor writes it: the
// store's own file and the backups that saving writes both use it, so that
// any value they hold reads back byte for byte.
//
// The name is quoted with backslash and double quote escaped, @ for the
// default value (empty name). A REG_SZ whose bytes are text with exactly one
// terminating zero byte and no line end is written as "text" (backslash and
// double quote escaped), a REG_DWORD of exactly four bytes as dword:xxxxxxxx;
// every other value as hex:.. (REG_BINARY) or hex(N):.. with N in lowercase
// hex, wrapped with a backslash and two blanks after about 76 characters.
#include "platform/Registry.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace regfile {

// The registry editor keeps hex lines within 80 columns: a line of hex data
// is wrapped after the comma that takes it past this column.
inline constexpr std::size_t kHexLineLimit = 76;

// Appends the line for a value, without a line end.
void AppendValueLine(std::string& out, std::string_view name, const platform::RegValue& value);

// Appends the line with the value as hex:.. or hex(N):.. whatever it holds,
// as the registry editor's Unicode form writes text it holds as UTF-16LE.
void AppendHexValueLine(std::string& out, std::string_view name, const platform::RegValue& value);

// Appends "name"= (or @= for the default value): the start of every value
// line, its data to follow.
void AppendValueName(std::string& out, std::string_view name);

// Appends "name"=-, the line that removes the value on import.
void AppendRemovedValueLine(std::string& out, std::string_view name);

// A value's data as its value line writes them, after the "=" ("text"
// quoted, dword:.., hex(N):..), on one line: what the history and the
// command line show. A value in its wide form as hex(N) of its UTF-16LE
// bytes. Nothing for a value that is not there.
std::string ValueDataText(const platform::ExactRegValue& value);
std::optional<std::string> ValueDataText(const std::optional<platform::ExactRegValue>& value);
std::optional<std::string> ValueDataText(const std::optional<platform::RegValue>& value);

// A value as the history of changes shows it, in the code page or beyond it:
// a text value as its text, whatever form it is held in (REG_SZ,
// REG_EXPAND_SZ, REG_MULTI_SZ, in the code page or in the wide form), every
// other value, and a text the line cannot show as it is (no terminating NUL,
// a NUL or a control character inside), as ValueDataText gives its data.
struct ShownValue {
    bool text = false;                   // `strings` are the value's text; else its data
    std::vector<std::u16string> strings; // one, or each string of a REG_MULTI_SZ
};
ShownValue ShownValueOf(const platform::ExactRegValue& value);

// That value on one line: "text", a REG_EXPAND_SZ marked as expandable, a
// REG_MULTI_SZ's strings each quoted and apart by ", ", or the data.
std::u16string ShownText(const platform::ExactRegValue& value);

// "REG_SZ", "REG_DWORD", ...: the type's name as Windows spells it; for a
// type of no name its number.
std::string RegTypeName(platform::RegType type);

} // namespace regfile
