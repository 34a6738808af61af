#pragma once
// Keys as the terminal decoder delivers them, written briefly for tests.
#include "backends/terminal/KeyDecoder.h"

inline backends::terminal::Key K(backends::terminal::KeyCode code, bool shift = false, bool alt = false, bool ctrl = false)
{
    backends::terminal::Key k;
    k.code = code;
    k.shift = shift;
    k.alt = alt;
    k.ctrl = ctrl;
    return k;
}

inline backends::terminal::Key Ch(char32_t ch, bool alt = false, bool ctrl = false)
{
    backends::terminal::Key k;
    k.ch = ch;
    k.alt = alt;
    k.ctrl = ctrl;
    return k;
}

inline backends::terminal::Key F(int n, bool alt = false)
{
    backends::terminal::Key k = K(backends::terminal::KeyCode::Function, false, alt);
    k.function = n;
    return k;
}
