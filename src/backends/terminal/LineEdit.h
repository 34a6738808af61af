#pragma once
// Editing one line of 8-bit text with a caret, and the horizontal scrolling
// that keeps the caret in a field narrower than the text.
#include <cstddef>
#include <string>

#include "backends/terminal/KeyDecoder.h"

namespace backends::terminal {

struct LineEdit {
    std::string text;
    std::size_t caret = 0;  // 0 .. text.size()
    std::size_t scroll = 0; // index of the first character shown
    // The whole text is selected, as when the focus comes to a field: typing
    // replaces it, Backspace and Delete clear it, moving the caret keeps it.
    bool selected = false;

    // Applies an editing key; false when the key is not an editing key (the
    // caller then handles it). Characters with no Windows-1252 form are
    // swallowed without a change. Besides the cursor keys, Backspace and
    // Delete: Ctrl+A start, Ctrl+E end, Ctrl+U cut before the caret, Ctrl+K
    // cut from the caret.
    bool HandleKey(const Key& key);
    void Insert(char c);

    // Puts the caret back inside the text after the text was replaced.
    void Clamp();
    // The caret to the end and the text selected.
    void SelectAll();
    // Scrolls so that the caret is visible in a field `width` cells wide, the
    // caret's own cell included.
    void ScrollToCaret(std::size_t width);
};

} // namespace backends::terminal
