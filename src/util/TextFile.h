#pragma once
// Text files as lists of lines. The text is 8-bit and passed through byte for
// byte: only the line ends are taken off, nothing is trimmed or converted.
#include <string>
#include <string_view>
#include <vector>

// CR LF, LF and a lone CR each end a line. A last line without a line end is a
// line; an empty text has no lines.
std::vector<std::string> SplitLines(std::string_view text);

// The lines of the file at path, split as SplitLines does. Throws
// tk::CFileException naming the file when it cannot be opened or read.
std::vector<std::string> ReadTextLines(const std::string& path);

// The value of a numbered line ("KKKKK value", as the catalogue and the
// translation file write them): the line without its first six characters.
std::string LineValue(const std::string& line);
