#pragma once
// Dialog units to character cells. At full scale a column is 4 dialog units
// wide and a row 8 units high, which keeps the proportions of the 8-point
// dialog font. A dialog too big for the terminal first loses rows that carry
// nothing (gaps, the extra rows of picture bands, blank rows inside group
// boxes), then is scaled down as far as that does not make controls run into
// each other, and is clipped (and scrolled) beyond that.
#include "toolkit/Resources.h"

#include <vector>

namespace backends::terminal {

// Dialog units in a terminal cell at full scale: a character cell is about
// four dialog units wide and eight high.
inline constexpr int kUnitsPerCol = 4;
inline constexpr int kUnitsPerRow = 8;

struct CellRect {
    int x = 0, y = 0, w = 0, h = 0;

    int Right() const { return x + w; }   // exclusive
    int Bottom() const { return y + h; }  // exclusive
    bool Empty() const { return w <= 0 || h <= 0; }
    bool Intersects(const CellRect& o) const
    {
        return !Empty() && !o.Empty() && x < o.Right() && o.x < Right() && y < o.Bottom() && o.y < Bottom();
    }
    bool operator==(const CellRect&) const = default;
};

// Fractions of the full scale.
struct DialogScale {
    double x = 1.0;
    double y = 1.0;
};

// Where one control lies at a scale, before rows are dropped. Group boxes
// take the nearest cell edges, so that a frame keeps clear of its neighbours;
// one-line controls (buttons, radio buttons, check boxes, edits, the closed
// part of a combo box) take the one row through their middle; everything else
// shrinks inwards to the cells it covers, at least one cell.
CellRect MapControl(const toolkit::ControlTemplate& control, const DialogScale& scale);

// True when two controls that are apart in dialog units touch in cells, or a
// control inside a group box lies on that box's frame. Pictures, controls the
// template hides, and the hidden default buttons take no part.
bool HasCollision(const toolkit::DialogTemplate& tmpl, const std::vector<CellRect>& cells);

struct DialogLayout {
    DialogScale scale;
    int cols = 0;
    int rows = 0;
    std::vector<CellRect> controls; // one per template control, in template order
};

// Drops rows that carry nothing until the layout has at most `maxRows` rows
// or nothing more can go. Rows go in this order: rows no control touches;
// picture rows but the first of each picture; blank rows inside group boxes;
// the remaining picture rows.
DialogLayout CompactRows(const toolkit::DialogTemplate& tmpl, DialogLayout layout, int maxRows);

// The layout of a dialog in a client area of at most maxCols x maxRows
// cells; it is larger only when the dialog cannot be made to fit.
DialogLayout LayoutDialog(const toolkit::DialogTemplate& tmpl, int maxCols, int maxRows);

// How wide a one-line text that starts at `r` may run on to the right: up to
// one blank before the first obstacle on its rows, at most to `limit`, and
// never narrower than `r` itself. A monospaced font needs a little more room than the dialog's
// proportional one, so short labels borrow the free cells after them.
int RoomToTheRight(const CellRect& r, const std::vector<CellRect>& obstacles, int limit);

// `r` widened to `wanted` cells where free cells on both sides allow (keeping
// a blank next to each obstacle), growing evenly to both sides while it can,
// within [0, limit). Never narrower than `r`.
CellRect Widen(const CellRect& r, int wanted, const std::vector<CellRect>& obstacles, int limit);

// The first row (or column) to show in a view of `view` cells over `total`
// cells so that [start, start + length) is visible, moving `offset` as little
// as possible; an item longer than the view shows its start.
int ScrollToShow(int offset, int start, int length, int view, int total);

} // namespace backends::terminal
