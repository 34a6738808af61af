#pragma once
// Keys as the terminal decoder delivers them, written briefly for tests.
#include "toolkit/terminal/KeyDecoder.h"

#include <ostream>

inline tk::Key K(tk::KeyCode code, bool shift = false, bool alt = false, bool ctrl = false)
{
    tk::Key k;
    k.code = code;
    k.shift = shift;
    k.alt = alt;
    k.ctrl = ctrl;
    return k;
}

inline tk::Key Ch(char32_t ch, bool alt = false, bool ctrl = false)
{
    tk::Key k;
    k.ch = ch;
    k.alt = alt;
    k.ctrl = ctrl;
    return k;
}

inline tk::Key F(int n, bool alt = false)
{
    tk::Key k = K(tk::KeyCode::Function, false, alt);
    k.function = n;
    return k;
}

namespace tk {

// Keys in test failures as a reader would name them.
inline void PrintTo(const Key& k, std::ostream* os)
{
    *os << (k.ctrl ? "Ctrl+" : "") << (k.alt ? "Alt+" : "") << (k.shift ? "Shift+" : "");
    if (k.code == KeyCode::Char)
        *os << "U+" << std::hex << static_cast<unsigned long>(k.ch) << std::dec;
    else if (k.code == KeyCode::Function)
        *os << 'F' << k.function;
    else
        *os << "key#" << static_cast<int>(k.code);
}

} // namespace tk
