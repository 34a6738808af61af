#pragma once
// Keys as the terminal decoder delivers them, written briefly for tests.
#include "backends/terminal/KeyDecoder.h"

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
