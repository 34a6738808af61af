#pragma once
// How a .reg file divides into lines and what counts as blank in them. The
// whole-file parser and the store's section index both read these rules:
// the index must find exactly the lines and keys the parser finds.
#include <cstddef>
#include <string_view>

namespace regfile::reglines {

// A line's text without its line end, the line running from `start` to the
// LF at `lineEnd` (or the end of the text): a CR is part of the line end only
// before an LF.
inline std::string_view LineText(std::string_view text, std::size_t start, std::size_t lineEnd)
{
    std::string_view line = text.substr(start, lineEnd - start);
    if (lineEnd < text.size() && line.ends_with('\r'))
        line.remove_suffix(1);
    return line;
}

inline bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// By hand: every line of a file passes here, and most have no blanks to take.
inline std::string_view TrimLeft(std::string_view s)
{
    std::size_t first = 0;
    while (first < s.size() && IsBlank(s[first]))
        ++first;
    return s.substr(first);
}

inline std::string_view Trim(std::string_view s)
{
    s = TrimLeft(s);
    std::size_t end = s.size();
    while (end > 0 && IsBlank(s[end - 1]))
        --end;
    return s.substr(0, end);
}

} // namespace regfile::reglines
