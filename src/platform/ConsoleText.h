#pragma once
// Text of a command-line program at the edges: the program keeps its texts
// in the system code page (Windows-1252 on Linux), while a Linux terminal
// speaks UTF-8, a Windows console its own code page, and JSON is UTF-8
// everywhere.
#include <optional>
#include <string>
#include <string_view>

namespace tk {

// Text as the console shows it: UTF-8 on Linux; the console's code page on
// Windows (the OEM code page when no console is attached).
std::string ConsoleText(std::string_view text);
// The same of a text that may hold characters beyond the code page: UTF-8 on
// Linux; on Windows the console's code page, '?' for what it lacks.
std::string ConsoleText(std::u16string_view text);

// Standard input and output pass bytes as they are: no line ends are
// converted (Windows converts them unless told).
void UseBinaryStandardStreams();
// Standard error as well.
void UseBinaryStandardError();

// The line end of text output: CR LF on Windows, LF elsewhere.
std::string_view ConsoleLineEnd();

// Text as UTF-8.
std::string Utf8Text(std::string_view text);

// A command-line argument as text in the system code page. Linux arguments
// are UTF-8 (one that is not is taken byte for byte); Windows hands them over
// in the code page already. Nothing when the argument holds a character that
// the code page lacks.
std::optional<std::string> ArgumentText(std::string_view argument);

} // namespace tk
