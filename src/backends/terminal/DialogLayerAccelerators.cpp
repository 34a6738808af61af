// The keys of the dialog's accelerator table, as Windows translates them
// before the focused control sees them.
#include "backends/terminal/DialogLayer.h"

namespace backends::terminal {

namespace {

std::optional<toolkit::KeyChord> ChordOf(const Key& key)
{
    toolkit::KeyChord chord;
    chord.control = key.ctrl;
    chord.shift = key.shift;
    chord.alt = key.alt;
    if (key.code == KeyCode::Function) {
        chord.key = toolkit::FunctionKeyCode(key.function);
        return chord;
    }
    if (key.code != KeyCode::Char)
        return std::nullopt;
    if (key.ch >= U'a' && key.ch <= U'z') {
        chord.key = static_cast<int>(key.ch - U'a') + 'A';
        return chord;
    }
    if ((key.ch >= U'A' && key.ch <= U'Z') || (key.ch >= U'0' && key.ch <= U'9')) {
        chord.key = static_cast<int>(key.ch);
        chord.shift = chord.shift || (key.ch >= U'A' && key.ch <= U'Z');
        return chord;
    }
    return std::nullopt;
}

bool TakesText(const toolkit::ControlState& c)
{
    return c.kind == toolkit::ControlKind::Edit || (c.kind == toolkit::ControlKind::ComboBox && !c.dropList);
}

} // namespace

bool DialogLayer::HandleAccelerator(const Key& key)
{
    if (!keys_)
        return false;
    std::optional<toolkit::KeyChord> chord = ChordOf(key);
    // "/" searches, as in the pagers and editors of the terminal, where a
    // slash would not be typed: it is Ctrl+F.
    const toolkit::ControlState* focused = Focused();
    if (key.code == KeyCode::Char && key.ch == U'/' && !key.ctrl && !key.alt && !(focused && TakesText(*focused)))
        chord = toolkit::KeyChord{'F', true};
    if (!chord)
        return false;
    const std::optional<int> command = keys_->CommandFor(*chord);
    if (!command)
        return false;
    dialog_.SendCommand(*command);
    return true;
}

} // namespace backends::terminal
