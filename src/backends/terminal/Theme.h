#pragma once
// The fixed colours of the text front end: the parts of a window that the
// dialog's colour answers do not cover, in the spirit of the classic desktop.
#include "backends/terminal/Screen.h"

namespace backends::terminal::theme {

constexpr toolkit::Rgb kBlack{0, 0, 0};
constexpr toolkit::Rgb kWhite{255, 255, 255};
constexpr toolkit::Rgb kDialog{240, 240, 240}; // the dialog face when the dialog names no brush
constexpr toolkit::Rgb kDesktop{0, 64, 96};    // around and behind the windows
constexpr toolkit::Rgb kTitle{0, 84, 166};     // title bars
constexpr toolkit::Rgb kTitleText{255, 255, 255};
constexpr toolkit::Rgb kMenuBar{255, 255, 255};
constexpr toolkit::Rgb kHighlight{0, 120, 215};    // selection and focus
constexpr toolkit::Rgb kHighlightText{255, 255, 255};
constexpr toolkit::Rgb kInactiveSelection{204, 204, 204};
constexpr toolkit::Rgb kField{255, 255, 255};      // list, edit and combo background
constexpr toolkit::Rgb kButton{225, 225, 225};
constexpr toolkit::Rgb kFrame{160, 160, 160};      // group box lines
constexpr toolkit::Rgb kShadow{0, 0, 0};
constexpr toolkit::Rgb kShadowText{128, 128, 128};
constexpr toolkit::Rgb kHelpBar{48, 48, 48};
constexpr toolkit::Rgb kHelpText{230, 230, 230};
constexpr toolkit::Rgb kBandFrom{24, 44, 92}; // picture bands run from this colour ...
constexpr toolkit::Rgb kBandTo{34, 128, 158}; // ... to this one, left to right
constexpr toolkit::Rgb kQuestion{0, 84, 166};
constexpr toolkit::Rgb kError{200, 0, 0};

inline CellStyle Style(toolkit::Rgb fg, toolkit::Rgb bg)
{
    CellStyle s;
    s.fg = fg;
    s.bg = bg;
    return s;
}

} // namespace backends::terminal::theme
