#pragma once
// Text files as lists of lines. The text is 8-bit and passed through byte for
// byte: only the line ends are taken off, nothing is trimmed or converted.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace util {

// One line of a text: its characters without the line end, and where the
// next line starts.
struct LineSpan {
    std::string_view text;
    std::size_t next = 0;
};

// CR LF and LF end a line; a CR that no LF follows is part of the line's text.
// A last line without a line end is a line; an empty text has no lines.
// LineAt gives the line that starts at `begin`, which lies inside the text.
LineSpan LineAt(std::string_view text, std::size_t begin);
std::vector<std::string> SplitLines(std::string_view text);

// The first line that equals `line` as a whole, byte for byte. Found by a
// search through the bytes, without splitting the text into lines.
std::optional<LineSpan> FindLine(std::string_view text, std::string_view line);

// The bytes of a data file (config.ini, the translation file, the catalogue).
// Throws platform::CFileException naming the file when it cannot be opened or read,
// is no regular file or is too large to be one of ours.
std::string ReadTextFile(const std::string& path);

// The lines of a data file a piece at a time, for a reader that needs only
// part of it: each piece is whole lines, given to `take` until it returns
// false. Throws as ReadTextFile does.
void ReadTextPieces(const std::string& path, const std::function<bool(std::string_view piece)>& take);

// The lines of a data file, split as SplitLines does.
std::vector<std::string> ReadTextLines(const std::string& path);

// The value of a numbered line ("KKKKK value", as the catalogue and the
// translation file write them): the line without its first six characters.
std::string LineValue(std::string_view line);

} // namespace util
