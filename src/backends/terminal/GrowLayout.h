#pragma once
// A full-screen dialog on a terminal larger than the dialog at full scale
// grows into the room, as a resizable window would: its lists and its texts
// of several lines take the extra columns and rows, the controls beside and
// below them move along, and buttons, radio buttons and one-line controls
// keep their size. A smaller terminal gets LayoutDialog's layout, so the
// dialog is never smaller than there.
#include "backends/terminal/Layout.h"

namespace backends::terminal {

// Where a dialog grows along one axis: at `at` dialog units, by `extra`.
// Everything from `at` on moves by `extra`; a control across `at` grows.
struct GrowCut {
    int at = 0;
    int extra = 0;
};

// The cuts of the dialog along x (`horizontal`) or y for `extra` more
// dialog units: one through each list and text of several lines, away from
// the controls that keep their size, nearest its middle; a control that a
// cut already crosses needs none of its own. The extra is shared evenly in
// steps of `step` units.
std::vector<GrowCut> GrowCuts(const toolkit::DialogTemplate& tmpl, bool horizontal, int extra, int step);

// The template with its controls moved and grown at the cuts.
toolkit::DialogTemplate Grown(const toolkit::DialogTemplate& tmpl, const std::vector<GrowCut>& alongX, const std::vector<GrowCut>& alongY);

// The layout of a full-screen dialog in `cols` x `rows` cells.
DialogLayout FillLayout(const toolkit::DialogTemplate& tmpl, int cols, int rows);

} // namespace backends::terminal
