#pragma once
// How many colours the terminal shows, and the escape sequences that set a
// cell's colours in that many. Terminals that lack 24-bit colour read its
// sequences as something else, or not at all: the Linux console shows the
// wrong colours, and a plain terminal leaves text unreadable.
#include "toolkit/Dialog.h"

#include <string>

namespace backends::terminal {

enum class ColourDepth { Direct, Palette256, Basic8 };

// From the environment's COLORTERM and TERM, either of which may be null:
// 24-bit colour only where COLORTERM says "truecolor" or "24bit", 256
// colours where TERM names them ("xterm-256color"), else the 8 basic ones.
ColourDepth ColourDepthOf(const char* colorterm, const char* term);

// The parameters of an SGR sequence for foreground and background, such as
// "38;2;0;0;0;48;2;255;255;255", "38;5;16;48;5;231" or "30;47". With 8
// colours two different colours that fall on the same one are set apart,
// so that no text vanishes into its background.
std::string ColourParameters(ColourDepth depth, toolkit::Rgb fg, toolkit::Rgb bg);

} // namespace backends::terminal
