#pragma once
// The fixed colours of the text front end: the parts of a window that the
// dialog's colour answers do not cover, in the spirit of the classic desktop.
#include "backends/terminal/Screen.h"

namespace tk::theme {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kDialog{240, 240, 240};     // the dialog face when the dialog names no brush
constexpr Rgb kDesktop{0, 64, 96};        // around and behind the windows
constexpr Rgb kTitle{0, 84, 166};         // title bars
constexpr Rgb kTitleText{255, 255, 255};
constexpr Rgb kMenuBar{255, 255, 255};
constexpr Rgb kHighlight{0, 120, 215};    // selection and focus
constexpr Rgb kHighlightText{255, 255, 255};
constexpr Rgb kInactiveSelection{204, 204, 204};
constexpr Rgb kField{255, 255, 255};      // list, edit and combo background
constexpr Rgb kButton{225, 225, 225};
constexpr Rgb kFrame{160, 160, 160};      // group box lines
constexpr Rgb kShadow{0, 0, 0};
constexpr Rgb kShadowText{128, 128, 128};
constexpr Rgb kHelpBar{48, 48, 48};
constexpr Rgb kHelpText{230, 230, 230};
constexpr Rgb kBandFrom{24, 44, 92};      // picture bands run from this colour ...
constexpr Rgb kBandTo{34, 128, 158};      // ... to this one, left to right
constexpr Rgb kQuestion{0, 84, 166};
constexpr Rgb kError{200, 0, 0};

inline CellStyle Style(Rgb fg, Rgb bg)
{
    CellStyle s;
    s.fg = fg;
    s.bg = bg;
    return s;
}

} // namespace tk::theme
