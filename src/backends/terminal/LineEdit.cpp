#include "backends/terminal/LineEdit.h"

#include "platform/Cp1252.h"

#include <algorithm>

namespace backends::terminal {

namespace {

// Ctrl+letter editing keys; false for any other letter.
bool ApplyControl(LineEdit& e, char32_t letter, bool wasSelected)
{
    switch (letter) {
    case U'a':
        e.caret = 0;
        break;
    case U'e':
        e.caret = e.text.size();
        break;
    case U'u':
        e.text.erase(0, wasSelected ? e.text.size() : e.caret);
        e.caret = 0;
        break;
    case U'k':
        e.text.erase(wasSelected ? 0 : e.caret);
        e.caret = std::min(e.caret, e.text.size());
        break;
    default:
        e.selected = wasSelected;
        return false;
    }
    e.selected = false;
    return true;
}

} // namespace

void LineEdit::Clamp()
{
    if (caret > text.size())
        caret = text.size();
    if (text.empty())
        selected = false;
    if (scroll > caret)
        scroll = caret;
}

void LineEdit::SelectAll()
{
    caret = text.size();
    selected = !text.empty();
}

void LineEdit::Insert(char c)
{
    Clamp();
    if (selected) {
        text.clear();
        caret = 0;
        selected = false;
    }
    text.insert(text.begin() + static_cast<long>(caret), c);
    ++caret;
}

bool LineEdit::HandleKey(const Key& key)
{
    Clamp();
    const bool wasSelected = selected;
    if (key.code != KeyCode::Char)
        selected = false;
    switch (key.code) {
    case KeyCode::Char:
        if (key.ctrl)
            return ApplyControl(*this, key.ch, wasSelected);
        if (key.alt || key.ch < 0x20 || key.ch == 0x7F)
            return false;
        if (const auto c = platform::EncodeCp1252(key.ch); c && static_cast<unsigned char>(*c) >= 0x20)
            Insert(*c);
        return true;
    case KeyCode::Backspace:
        if (wasSelected) {
            text.clear();
            caret = 0;
        } else if (caret > 0) {
            text.erase(caret - 1, 1);
            --caret;
        }
        return true;
    case KeyCode::Delete:
        if (wasSelected) {
            text.clear();
            caret = 0;
        } else if (caret < text.size()) {
            text.erase(caret, 1);
        }
        return true;
    case KeyCode::Left:
        if (caret > 0)
            --caret;
        return true;
    case KeyCode::Right:
        if (caret < text.size())
            ++caret;
        return true;
    case KeyCode::Home:
        caret = 0;
        return true;
    case KeyCode::End:
        caret = text.size();
        return true;
    default:
        selected = wasSelected;
        return false;
    }
}

void LineEdit::ScrollToCaret(std::size_t width)
{
    Clamp();
    if (width == 0) {
        scroll = caret;
        return;
    }
    if (caret < scroll)
        scroll = caret;
    else if (caret >= scroll + width)
        scroll = caret - width + 1;
    // Show as much text as fits: no blank tail while text is scrolled out left.
    const std::size_t tail = text.size() + 1; // the caret's cell after the last character
    if (scroll > 0 && tail - scroll < width)
        scroll = tail > width ? tail - width : 0;
}

} // namespace backends::terminal
