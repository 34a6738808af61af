#pragma once
// Texts as controls show them: mnemonic prefixes and word wrapping. All texts
// are 8-bit, one cell per byte.
#include <string>
#include <string_view>
#include <vector>

namespace backends::terminal {

// A caption with its "&" prefixes resolved: "&&" is a literal "&", and the
// character after a single "&" is the mnemonic.
struct Label {
    std::string text;
    int mnemonic = -1; // index into text, -1 for none
};

Label ParseLabel(std::string_view caption);

// The mnemonic letter of a caption, folded to lower case; 0 for none.
char MnemonicOf(std::string_view caption);

// Breaks a text into lines of at most `width` characters: at CR LF, LF or CR,
// and between words; a word longer than a line is cut, after its last path
// separator ('/' or '\\') that fits where it has one. Blanks at a wrap point
// are dropped. No lines for an empty text.
std::vector<std::string> WrapText(std::string_view text, int width);

// The mark of a text cut short, and its byte in Windows-1252.
inline constexpr char32_t kEllipsis = U'\u2026';
inline constexpr char kEllipsisByte = '\x85';

// Whether a text does not fit in `width` cells, blanks at its end aside.
bool Cut(std::string_view text, int width);

// WrapText for a room of `rows` lines: when the text needs more, the last
// line ends in the ellipsis.
std::vector<std::string> WrapToFit(std::string_view text, int width, int rows);

// The cells each column of a list gets out of `cells`, in proportion to the
// widths its columns were given, the last one taking what is left: all of
// them for a list of one column or none.
std::vector<int> ColumnCells(const std::vector<int>& widths, int cells);

// One entry of a key help line; the lowest priority (highest number) goes
// first when the line is too long.
struct HelpItem {
    std::string text;
    int priority = 1;
};

// The entries that fit in `width`, in their order, two blanks apart.
std::string FitHelp(const std::vector<HelpItem>& items, int width);

// Replaces tabs and other control characters by blanks, for one-line display.
std::string OneLine(std::string_view text);

} // namespace backends::terminal
