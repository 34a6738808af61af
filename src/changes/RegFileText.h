#pragma once
// A registry file of many values, grouped by key in the order the keys are
// first named: the backups of changes to many values and the profiles that
// export writes. REGEDIT4 unless a value's text is in the registry's wide
// form (ExactRegValue): then the registry editor's Unicode form, text values
// as hex(N) of their UTF-16LE bytes, as saving writes a single value.
#include "platform/Registry.h"

#include <optional>
#include <string>
#include <vector>

struct FileValue {
    tk::RegKeyPath key;
    std::string name;
    std::optional<tk::ExactRegValue> value; // empty: "name"=-
    std::vector<std::string> comments;      // lines before the value line
};

// CR LF line ends; a blank line before each key and before `closing`, the
// comment lines that end the file.
std::string RegFileBytesOf(const std::vector<FileValue>& values, const std::vector<std::string>& closing);

// A value's data as its value line writes it, after the "=" ("text" quoted,
// dword:.., hex(N):..), on one line; a value in its wide form as hex(N) of
// its UTF-16LE bytes.
std::string ValueDataText(const tk::ExactRegValue& value);

// The same for a value that may not be there: nothing for none.
std::optional<std::string> ValueDataText(const std::optional<tk::ExactRegValue>& value);
std::optional<std::string> ValueDataText(const std::optional<tk::RegValue>& value);
