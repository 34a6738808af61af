#include "backends/terminal/Layout.h"

#include <algorithm>
#include <cmath>

namespace backends::terminal {

namespace {

constexpr double kEpsilon = 1e-9;
// Below this the text of neighbouring controls runs together; the dialog is
// clipped instead.
constexpr double kSmallestScale = 0.6;
constexpr int kComboClosedHeight = 14;

int Floor(double v) { return static_cast<int>(std::floor(v + kEpsilon)); }
int Ceil(double v) { return static_cast<int>(std::ceil(v - kEpsilon)); }
int Round(double v) { return static_cast<int>(std::lround(v)); }

bool IsPicture(const toolkit::ControlTemplate& c)
{
    return c.kind == toolkit::ControlKind::StaticBitmap || c.kind == toolkit::ControlKind::StaticIcon;
}

bool IsGroup(const toolkit::ControlTemplate& c)
{
    return c.kind == toolkit::ControlKind::GroupBox;
}

bool IsOneLine(toolkit::ControlKind kind)
{
    switch (kind) {
    case toolkit::ControlKind::PushButton:
    case toolkit::ControlKind::RadioButton:
    case toolkit::ControlKind::CheckBox:
    case toolkit::ControlKind::Edit:
    case toolkit::ControlKind::ComboBox:
        return true;
    default:
        return false;
    }
}

bool TakesPart(const toolkit::ControlTemplate& c)
{
    return c.Visible() && !IsPicture(c);
}

struct UnitRect {
    int x, y, cx, cy;
};

UnitRect Units(const toolkit::ControlTemplate& c)
{
    const int cy = c.kind == toolkit::ControlKind::ComboBox ? std::min(c.cy, kComboClosedHeight) : c.cy;
    return {c.x, c.y, c.cx, cy};
}

bool UnitsIntersect(const UnitRect& a, const UnitRect& b)
{
    return a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + b.cy && b.y < a.y + a.cy;
}

bool UnitsInside(const UnitRect& inner, const UnitRect& outer)
{
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.cx <= outer.x + outer.cx &&
           inner.y + inner.cy <= outer.y + outer.cy;
}

std::vector<CellRect> FrameOf(const CellRect& g)
{
    return {{g.x, g.y, g.w, 1}, {g.x, g.Bottom() - 1, g.w, 1}, {g.x, g.y, 1, g.h}, {g.Right() - 1, g.y, 1, g.h}};
}

DialogLayout MapAll(const toolkit::DialogTemplate& tmpl, const DialogScale& scale)
{
    DialogLayout layout;
    layout.scale = scale;
    layout.cols = std::max(1, Ceil(tmpl.cx * scale.x / kUnitsPerCol));
    layout.rows = std::max(1, Ceil(tmpl.cy * scale.y / kUnitsPerRow));
    for (const auto& c : tmpl.controls)
        layout.controls.push_back(MapControl(c, scale));
    return layout;
}

} // namespace

CellRect MapControl(const toolkit::ControlTemplate& c, const DialogScale& scale)
{
    const auto col = [&](int units) { return units * scale.x / kUnitsPerCol; };
    const auto row = [&](int units) { return units * scale.y / kUnitsPerRow; };
    CellRect r;
    if (IsGroup(c)) {
        r.x = Round(col(c.x));
        r.y = Round(row(c.y));
        r.w = std::max(2, Round(col(c.x + c.cx)) - r.x);
        r.h = std::max(2, Round(row(c.y + c.cy)) - r.y);
        return r;
    }
    r.x = Round(col(c.x));
    r.w = std::max(1, Floor(col(c.x + c.cx)) - r.x);
    if (IsOneLine(c.kind)) {
        const UnitRect u = Units(c);
        r.y = Floor(row(u.y) + row(u.cy) / 2);
        r.h = 1;
    } else {
        r.y = Round(row(c.y));
        r.h = std::max(1, Floor(row(c.y + c.cy)) - r.y);
    }
    return r;
}

bool HasCollision(const toolkit::DialogTemplate& tmpl, const std::vector<CellRect>& cells)
{
    const auto& cs = tmpl.controls;
    for (std::size_t i = 0; i < cs.size(); ++i) {
        if (!TakesPart(cs[i]))
            continue;
        for (std::size_t j = 0; j < cs.size(); ++j) {
            if (i == j || !TakesPart(cs[j]))
                continue;
            const UnitRect ui = Units(cs[i]);
            const UnitRect uj = Units(cs[j]);
            if (IsGroup(cs[j])) {
                if (!UnitsInside(ui, uj))
                    continue;
                if (IsGroup(cs[i])) {
                    // Nested boxes must keep their frame lines apart.
                    const CellRect& a = cells[i];
                    const CellRect& b = cells[j];
                    if (a.y == b.y || a.Bottom() == b.Bottom() || a.x == b.x || a.Right() == b.Right())
                        return true;
                    continue;
                }
                for (const CellRect& line : FrameOf(cells[j]))
                    if (line.Intersects(cells[i]))
                        return true;
            } else if (!IsGroup(cs[i]) && i < j && !UnitsIntersect(ui, uj) && cells[i].Intersects(cells[j])) {
                return true;
            }
        }
    }
    return false;
}

DialogLayout CompactRows(const toolkit::DialogTemplate& tmpl, DialogLayout layout, int maxRows)
{
    const int rows = layout.rows;
    if (rows <= maxRows)
        return layout;
    enum Class { Keep, Untouched, PictureExtra, GroupInside, PictureFirst };
    std::vector<bool> essential(rows, false), picture(rows, false), pictureFirst(rows, false), inGroup(rows, false);
    const auto mark = [rows](std::vector<bool>& v, int from, int to) {
        for (int r = std::max(0, from); r < std::min(rows, to); ++r)
            v[r] = true;
    };
    for (std::size_t i = 0; i < tmpl.controls.size(); ++i) {
        const toolkit::ControlTemplate& c = tmpl.controls[i];
        const CellRect& r = layout.controls[i];
        if (!c.Visible() || r.Empty())
            continue;
        if (IsPicture(c)) {
            mark(picture, r.y, r.Bottom());
            mark(pictureFirst, r.y, r.y + 1);
        } else if (IsGroup(c)) {
            mark(essential, r.y, r.y + 1);
            mark(essential, r.Bottom() - 1, r.Bottom());
            mark(inGroup, r.y, r.Bottom());
        } else {
            mark(essential, r.y, r.Bottom());
        }
    }
    std::vector<Class> cls(rows, Untouched);
    for (int r = 0; r < rows; ++r) {
        if (essential[r])
            cls[r] = Keep;
        else if (pictureFirst[r])
            cls[r] = PictureFirst;
        else if (picture[r])
            cls[r] = PictureExtra;
        else if (inGroup[r])
            cls[r] = GroupInside;
    }
    std::vector<bool> dropped(rows, false);
    int excess = rows - maxRows;
    for (Class c : {Untouched, PictureExtra, GroupInside, PictureFirst})
        for (int r = rows - 1; r >= 0 && excess > 0; --r)
            if (cls[r] == c) {
                dropped[r] = true;
                --excess;
            }
    std::vector<int> keptBefore(rows + 1, 0);
    for (int r = 0; r < rows; ++r)
        keptBefore[r + 1] = keptBefore[r] + (dropped[r] ? 0 : 1);
    const auto at = [&](int r) { return keptBefore[std::clamp(r, 0, rows)]; };
    for (CellRect& rect : layout.controls) {
        const int top = at(rect.y);
        const int bottom = at(rect.Bottom());
        rect.y = top;
        rect.h = bottom - top;
    }
    layout.rows = keptBefore[rows];
    return layout;
}

DialogLayout LayoutDialog(const toolkit::DialogTemplate& tmpl, int maxCols, int maxRows)
{
    DialogScale scale;
    const double fullCols = tmpl.cx / static_cast<double>(kUnitsPerCol);
    if (fullCols > maxCols && fullCols > 0)
        scale.x = std::max(kSmallestScale, maxCols / fullCols);
    for (int step = 0; step <= 8; ++step) {
        scale.y = 1.0 - step * 0.05;
        DialogLayout layout = MapAll(tmpl, scale);
        if (step > 0 && HasCollision(tmpl, layout.controls))
            continue;
        layout = CompactRows(tmpl, std::move(layout), maxRows);
        if (layout.rows <= maxRows)
            return layout;
    }
    scale.y = 1.0;
    return CompactRows(tmpl, MapAll(tmpl, scale), maxRows);
}

int RoomToTheRight(const CellRect& r, const std::vector<CellRect>& obstacles, int limit)
{
    for (const CellRect& o : obstacles)
        if (o.x >= r.x && o.y < r.Bottom() && r.y < o.Bottom() && !o.Empty())
            limit = std::min(limit, o.x - 1); // a blank keeps the neighbour apart
    return std::max(r.w, limit - r.x);
}

CellRect Widen(const CellRect& r, int wanted, const std::vector<CellRect>& obstacles, int limit)
{
    int left = 0;
    int right = limit;
    for (const CellRect& o : obstacles) {
        if (o.Empty() || o.y >= r.Bottom() || r.y >= o.Bottom())
            continue;
        if (o.Right() <= r.x)
            left = std::max(left, o.Right() + 1);
        else if (o.x >= r.Right())
            right = std::min(right, o.x - 1);
    }
    int need = wanted - r.w;
    if (need <= 0)
        return r;
    const int roomLeft = std::max(0, r.x - left);
    const int roomRight = std::max(0, right - r.Right());
    int growLeft = std::min(roomLeft, need / 2);
    const int growRight = std::min(roomRight, need - growLeft);
    growLeft = std::min(roomLeft, need - growRight);
    return {r.x - growLeft, r.y, r.w + growLeft + growRight, r.h};
}

int ScrollToShow(int offset, int start, int length, int view, int total)
{
    if (view <= 0)
        return 0;
    if (length >= view || start < offset)
        offset = start;
    else if (start + length > offset + view)
        offset = start + length - view;
    return std::clamp(offset, 0, std::max(0, total - view));
}

} // namespace backends::terminal
