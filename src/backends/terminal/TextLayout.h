#pragma once
// Texts as controls show them: mnemonic prefixes and word wrapping. All texts
// are 8-bit, one cell per byte.
#include <string>
#include <string_view>
#include <vector>

namespace tk {

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
// and between words; a word longer than a line is cut. Blanks at a wrap point
// are dropped. No lines for an empty text.
std::vector<std::string> WrapText(std::string_view text, int width);

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

} // namespace tk
