#include "backends/terminal/GrowLayout.h"

#include <algorithm>
#include <cstdlib>

namespace backends::terminal {

namespace {

// A static text taller than this holds several lines.
constexpr int kOneLineUnits = 12;

struct Span {
    int start, end;
};

Span SpanOf(const toolkit::ControlTemplate& c, bool horizontal)
{
    return horizontal ? Span{c.x, c.x + c.cx} : Span{c.y, c.y + c.cy};
}

bool Grows(const toolkit::ControlTemplate& c)
{
    return c.Visible() &&
           (c.kind == toolkit::ControlKind::ListView || (c.kind == toolkit::ControlKind::StaticText && c.cy > kOneLineUnits));
}

// What a cut must not run through.
bool KeepsSize(const toolkit::ControlTemplate& c, bool horizontal)
{
    if (!c.Visible())
        return false;
    switch (c.kind) {
    case toolkit::ControlKind::PushButton:
    case toolkit::ControlKind::RadioButton:
    case toolkit::ControlKind::CheckBox:
    case toolkit::ControlKind::StaticIcon:
        return true;
    case toolkit::ControlKind::ListView:
    case toolkit::ControlKind::GroupBox:
        return false;
    case toolkit::ControlKind::StaticText:
        return !horizontal && c.cy <= kOneLineUnits;
    case toolkit::ControlKind::Edit:
    case toolkit::ControlKind::ComboBox:
    case toolkit::ControlKind::StaticBitmap:
        return !horizontal;
    }
    return false;
}

int Shift(const std::vector<GrowCut>& cuts, int at, bool end)
{
    int shift = 0;
    for (const GrowCut& cut : cuts)
        if (end ? cut.at < at : cut.at <= at)
            shift += cut.extra;
    return shift;
}

} // namespace

std::vector<GrowCut> GrowCuts(const toolkit::DialogTemplate& tmpl, bool horizontal, int extra, int step)
{
    std::vector<GrowCut> cuts;
    for (const toolkit::ControlTemplate& g : tmpl.controls) {
        if (!Grows(g))
            continue;
        const Span span = SpanOf(g, horizontal);
        const auto free = [&](int at) {
            return std::none_of(tmpl.controls.begin(), tmpl.controls.end(), [&](const toolkit::ControlTemplate& k) {
                const Span ks = SpanOf(k, horizontal);
                return &k != &g && KeepsSize(k, horizontal) && ks.start < at && at < ks.end;
            });
        };
        if (std::any_of(cuts.begin(), cuts.end(),
                        [&](const GrowCut& c) { return span.start < c.at && c.at < span.end && free(c.at); }))
            continue;
        const int middle = (span.start + span.end) / 2;
        int best = -1;
        for (int at = span.start + 1; at < span.end; ++at)
            if (free(at) && (best < 0 || std::abs(at - middle) < std::abs(best - middle)))
                best = at;
        if (best >= 0)
            cuts.push_back({best, 0});
    }
    if (cuts.empty() || step <= 0)
        return cuts;
    std::sort(cuts.begin(), cuts.end(), [](const GrowCut& a, const GrowCut& b) { return a.at < b.at; });
    const int steps = extra / step;
    const int n = static_cast<int>(cuts.size());
    for (int i = 0; i < n; ++i)
        cuts[static_cast<std::size_t>(i)].extra = (steps / n + (i < steps % n ? 1 : 0)) * step;
    return cuts;
}

toolkit::DialogTemplate Grown(const toolkit::DialogTemplate& tmpl, const std::vector<GrowCut>& alongX, const std::vector<GrowCut>& alongY)
{
    toolkit::DialogTemplate out = tmpl;
    out.cx += Shift(alongX, tmpl.cx, true);
    out.cy += Shift(alongY, tmpl.cy, true);
    for (toolkit::ControlTemplate& c : out.controls) {
        const int right = c.x + c.cx + Shift(alongX, c.x + c.cx, true);
        const int bottom = c.y + c.cy + Shift(alongY, c.y + c.cy, true);
        c.x += Shift(alongX, c.x, false);
        c.y += Shift(alongY, c.y, false);
        c.cx = std::max(c.cx, right - c.x);
        c.cy = std::max(c.cy, bottom - c.y);
    }
    return out;
}

DialogLayout FillLayout(const toolkit::DialogTemplate& tmpl, int cols, int rows)
{
    const int fullCols = (tmpl.cx + kUnitsPerCol - 1) / kUnitsPerCol;
    const int fullRows = (tmpl.cy + kUnitsPerRow - 1) / kUnitsPerRow;
    const int extraCols = std::max(0, cols - fullCols);
    const int extraRows = std::max(0, rows - fullRows);
    if (extraCols == 0 && extraRows == 0)
        return LayoutDialog(tmpl, cols, rows);
    const std::vector<GrowCut> alongX = GrowCuts(tmpl, true, extraCols * kUnitsPerCol, kUnitsPerCol);
    const std::vector<GrowCut> alongY = GrowCuts(tmpl, false, extraRows * kUnitsPerRow, kUnitsPerRow);
    return LayoutDialog(Grown(tmpl, alongX, alongY), cols, rows);
}

} // namespace backends::terminal
