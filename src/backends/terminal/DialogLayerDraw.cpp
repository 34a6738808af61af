// Drawing one dialog: the title and menu bar or the box, then the controls
// from the template layout in the colours the dialog gives.
#include "backends/terminal/DialogLayer.h"

#include "backends/terminal/GrowLayout.h"
#include "backends/terminal/TextLayout.h"
#include "backends/terminal/Texts.h"
#include "backends/terminal/Theme.h"

#include <algorithm>

namespace backends::terminal {

using namespace theme;

namespace {

int Count(const std::vector<std::string>& v)
{
    return static_cast<int>(v.size());
}

CellStyle FaceStyle(const toolkit::CtlColorRequest& colors, toolkit::Rgb dialogBg)
{
    const toolkit::Rgb bg = !colors.transparentBackground && colors.textBackground ? *colors.textBackground
                                                                        : colors.brush.value_or(dialogBg);
    return Style(colors.textColor.value_or(kBlack), bg);
}

CellStyle FieldStyle(const toolkit::CtlColorRequest& colors)
{
    return Style(colors.textColor.value_or(kBlack), colors.textBackground.value_or(kField));
}

toolkit::Rgb Blend(toolkit::Rgb a, toolkit::Rgb b, int step, int steps)
{
    const auto mix = [&](unsigned char x, unsigned char y) {
        return static_cast<unsigned char>(x + (y - x) * step / std::max(1, steps));
    };
    return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

// A box whose template gives a position lies that far into its owner, in
// proportion: the owner fills the screen below its title and menu bar. Any
// other box is centred.
CellRect PlacedBox(const CellScreen& screen, const toolkit::DialogTemplate& tmpl, const toolkit::DialogTemplate* owner, int w, int h)
{
    if (!tmpl.Placed() || !owner || owner->cx <= 0 || owner->cy <= 0)
        return CentredBox(screen, w, h);
    const int top = owner->menuId != 0 ? 2 : 1;
    const int rows = std::max(1, screen.Rows() - top - 1);
    w = std::min(w, screen.Cols());
    h = std::min(h, screen.Rows() - 1);
    const int x = tmpl.x * screen.Cols() / owner->cx;
    const int y = top + tmpl.y * rows / owner->cy;
    return {std::clamp(x, 0, screen.Cols() - w), std::clamp(y, 0, std::max(0, screen.Rows() - 1 - h)), w, h};
}

} // namespace

void DialogLayer::Draw(CellScreen& screen)
{
    EnsureFocus();
    const toolkit::DialogTemplate& tmpl = window_.Template();
    const toolkit::Rgb dialogBg = AskColors(0).brush.value_or(kDialog);
    const std::vector<MenuEntry> entries = MenuEntries(window_);
    CellRect client;
    DialogLayout layout;
    if (full_) {
        CellStyle title = Style(kTitleText, kTitle);
        title.bold = true;
        screen.Fill({0, 0, screen.Cols(), 1}, title);
        const std::string caption = window_.Caption();
        const int len = std::min(static_cast<int>(caption.size()), screen.Cols());
        screen.Text((screen.Cols() - len) / 2, 0, caption, title, screen.Cols());
        menuBar_ = !entries.empty();
        menuX_ = 0;
        menuY_ = 1;
        if (menuBar_)
            menu_.DrawBar(screen, entries, 0, 1, screen.Cols());
        const int top = menuBar_ ? 2 : 1;
        client = {0, top, screen.Cols(), std::max(0, screen.Rows() - top - 1)};
        layout = FillLayout(tmpl, client.w, client.h);
        screen.Fill(client, Style(kBlack, dialogBg));
        // Squeezed as far as it goes and still too large: scrolling would
        // leave Save and its neighbours off the screen, so the size the
        // window needs is said instead.
        if (layout.cols > client.w || layout.rows > client.h) {
            const DialogLayout smallest = LayoutDialog(tmpl, 1, 1);
            const std::string needed =
                platform::Text(text::TerminalTooSmall,
                               {std::to_string(smallest.cols), std::to_string(smallest.rows + top + 1),
                                std::to_string(screen.Cols()), std::to_string(screen.Rows())});
            const std::vector<std::string> lines = WrapText(needed, std::max(1, client.w - 2));
            for (std::size_t i = 0; i < lines.size() && static_cast<int>(i) < client.h; ++i)
                screen.Text(1, top + static_cast<int>(i), lines[i], Style(kBlack, dialogBg), client.w - 2);
            return;
        }
    } else {
        menuBar_ = !window_.Menu().empty();
        const int extra = menuBar_ ? 1 : 0;
        const int roomCols = std::max(1, screen.Cols() - 4);
        const int roomRows = std::max(1, screen.Rows() - 5 - extra);
        // A box with a list (the history of changes) grows with the terminal
        // as the main window does, its list taking the room; other boxes
        // keep their size.
        const bool grows = std::any_of(tmpl.controls.begin(), tmpl.controls.end(),
                                       [](const toolkit::ControlTemplate& c) { return c.kind == toolkit::ControlKind::ListView; });
        layout = grows ? FillLayout(tmpl, roomCols, roomRows) : LayoutDialog(tmpl, roomCols, roomRows);
        const int w = std::min(layout.cols, roomCols) + 2;
        const int h = std::min(layout.rows, roomRows) + 2 + extra;
        const CellRect box = PlacedBox(screen, tmpl, owner_, w, h);
        client = DrawBox(screen, box, window_.Caption(), dialogBg);
        menuX_ = client.x;
        menuY_ = client.y;
        if (menuBar_) {
            menu_.DrawBar(screen, entries, client.x, client.y, client.w);
            client.y += 1;
            client.h -= 1;
        } else {
            menuX_ = box.x;
            menuY_ = box.y + 1;
        }
    }

    // Keep the focused control in view when the dialog is larger than the room.
    if (const toolkit::ControlState* f = Focused()) {
        const std::size_t index = static_cast<std::size_t>(f - window_.Controls().data());
        const CellRect& r = layout.controls[index];
        scrollX_ = ScrollToShow(scrollX_, r.x, r.w, client.w, layout.cols);
        scrollY_ = ScrollToShow(scrollY_, r.y, r.h, client.h, layout.rows);
    }
    const int originX = layout.cols <= client.w ? client.x + (client.w - layout.cols) / 2 : client.x - scrollX_;
    const int originY = layout.rows <= client.h ? client.y + (client.h - layout.rows) / 2 : client.y - scrollY_;

    screen.SetClip(client);
    const auto& cs = window_.Controls();
    std::vector<CellRect> obstacles;
    for (std::size_t i = 0; i < cs.size(); ++i) {
        const CellRect& r = layout.controls[i];
        if (!cs[i].visible || cs[i].kind == toolkit::ControlKind::StaticBitmap || cs[i].kind == toolkit::ControlKind::StaticIcon)
            continue;
        if (cs[i].kind == toolkit::ControlKind::GroupBox) {
            obstacles.push_back({r.x, r.y, 1, r.h});
            obstacles.push_back({r.Right() - 1, r.y, 1, r.h});
        } else {
            obstacles.push_back(r);
        }
    }
    // Pictures and group frames lie behind everything else.
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t i = 0; i < cs.size(); ++i) {
            const toolkit::ControlState& c = cs[i];
            const bool back = c.kind == toolkit::ControlKind::StaticBitmap || c.kind == toolkit::ControlKind::GroupBox;
            if (!c.visible || back != (pass == 0))
                continue;
            const CellRect& r = layout.controls[i];
            if (r.Empty())
                continue;
            std::vector<CellRect> others = obstacles;
            others.erase(std::remove(others.begin(), others.end(), r), others.end());
            CellRect at = r;
            if (c.kind == toolkit::ControlKind::PushButton) {
                // The label lies on the middle row; only that row needs room.
                const CellRect label{r.x, r.y + (r.h - 1) / 2, r.w, 1};
                const CellRect wide = Widen(label, static_cast<int>(ParseLabel(c.text).text.size()) + 4, others, layout.cols);
                at = {wide.x, r.y, wide.w, r.h};
            }
            const int room = RoomToTheRight(at, others, layout.cols);
            DrawControl(screen, c, {originX + at.x, originY + at.y, at.w, at.h}, room, dialogBg);
        }
    screen.ResetClip();
    DrawDropList(screen);
    menu_.DrawDropDown(screen, entries, menuX_, menuY_, menuBar_);
    if (menu_.IsOpen() || dropCombo_ != 0)
        screen.HideCursor();
}

void DialogLayer::DrawControl(CellScreen& screen, const toolkit::ControlState& c, const CellRect& r, int room, toolkit::Rgb dialogBg)
{
    // One-line labels may run on into free cells after them.
    const CellRect wide{r.x, r.y, r.h == 1 ? room : r.w, r.h};
    const toolkit::CtlColorRequest colors = AskColors(c.id);
    const CellStyle face = FaceStyle(colors, dialogBg);
    const bool focused = c.id != -1 && c.id == window_.FocusId();
    switch (c.kind) {
    case toolkit::ControlKind::StaticBitmap:
        for (int x = 0; x < r.w; ++x)
            for (int y = 0; y < r.h; ++y)
                screen.Put(r.x + x, r.y + y, U' ', Style(kWhite, Blend(kBandFrom, kBandTo, x, r.w - 1)));
        break;
    case toolkit::ControlKind::StaticIcon:
        screen.Fill(r, Style(kWhite, kTitle));
        screen.Put(r.x + (r.w - 1) / 2, r.y + (r.h - 1) / 2, U'♪', Style(kWhite, kTitle));
        break;
    case toolkit::ControlKind::GroupBox: {
        if (r.w >= 2 && r.h >= 2)
            screen.Frame(r, Style(kFrame, face.bg));
        const std::string caption = ParseLabel(c.text).text;
        if (!caption.empty() && r.w > 4) {
            screen.Put(r.x + 1, r.y, U' ', face);
            const int n = screen.Label(r.x + 2, r.y, c.text, face, r.w - 4);
            screen.Put(r.x + 2 + n, r.y, U' ', face);
        }
        break;
    }
    case toolkit::ControlKind::StaticText: {
        const std::string text = c.tmpl && c.tmpl->Has("SS_NOPREFIX") ? c.text : ParseLabel(c.text).text;
        const bool aligned = c.tmpl && (c.tmpl->Has("SS_CENTER") || c.tmpl->Has("SS_RIGHT"));
        const int length = static_cast<int>(text.size());
        const CellRect box = aligned ? r : CellRect{r.x, r.y, std::min(wide.w, std::max(r.w, length)), r.h};
        screen.Fill(box, face);
        const std::vector<std::string> lines = WrapToFit(text, box.w, r.h);
        for (int i = 0; i < r.h && i < Count(lines); ++i) {
            const std::string& line = lines[static_cast<std::size_t>(i)];
            int x = r.x;
            const int len = std::min(static_cast<int>(line.size()), r.w);
            if (c.tmpl && c.tmpl->Has("SS_CENTER"))
                x += (r.w - len) / 2;
            else if (c.tmpl && c.tmpl->Has("SS_RIGHT"))
                x += r.w - len;
            screen.Text(x, r.y + i, line, face, box.w);
        }
        break;
    }
    case toolkit::ControlKind::RadioButton:
    case toolkit::ControlKind::CheckBox: {
        const bool radio = c.kind == toolkit::ControlKind::RadioButton;
        const char* mark = radio ? (c.checked ? "(*)" : "( )") : (c.checked ? "[x]" : "[ ]");
        const int labelLength = static_cast<int>(ParseLabel(c.text).text.size());
        const int width = std::min(wide.w, std::max(r.w, labelLength + 4));
        screen.Fill({r.x, r.y, width, 1}, face);
        screen.Text(r.x, r.y, mark, face, width);
        const CellStyle label = focused ? Style(kHighlightText, kHighlight) : face;
        const int n = screen.Label(r.x + 4, r.y, c.text, label, width - 4);
        if (focused && n == 0)
            screen.Recolor({r.x, r.y, std::min(3, r.w), 1}, kHighlightText, kHighlight);
        break;
    }
    case toolkit::ControlKind::PushButton: {
        const Label label = ParseLabel(c.text);
        const int textLen = static_cast<int>(label.text.size());
        const int pad = textLen + 4 <= r.w ? 2 : 1;
        const int inner = std::max(0, std::min(textLen, r.w - 2 * pad));
        const int width = inner + 2 * pad;
        const int x = r.x + std::max(0, (r.w - width) / 2);
        const int y = r.y + (r.h - 1) / 2;
        CellStyle s = focused ? Style(kHighlightText, kHighlight) : Style(kBlack, kButton);
        s.bold = c.tmpl && c.tmpl->DefaultButton();
        screen.Fill({x, y, width, 1}, s);
        screen.Put(x, y, U'[', s);
        screen.Put(x + width - 1, y, U']', s);
        screen.Label(x + pad, y, c.text, s, inner);
        break;
    }
    case toolkit::ControlKind::ListView:
        DrawList(screen, c, r, colors);
        break;
    case toolkit::ControlKind::ComboBox:
        DrawCombo(screen, c, r, colors);
        break;
    case toolkit::ControlKind::Edit:
        DrawEdit(screen, c, r, colors);
        break;
    }
}

void DialogLayer::DrawList(CellScreen& screen, const toolkit::ControlState& c, const CellRect& r, const toolkit::CtlColorRequest& colors)
{
    const CellStyle field = FieldStyle(colors);
    const bool focused = c.id == window_.FocusId();
    screen.Fill(r, field);
    const bool header = !c.columns.empty() && c.tmpl && !c.tmpl->Has("LVS_NOCOLUMNHEADER") && r.h > 1;
    const int top = r.y + (header ? 1 : 0);
    const int rows = r.h - (header ? 1 : 0);
    listRows_[c.id] = rows;
    const int n = Count(c.items);
    const bool bar = n > rows && r.w > 2;
    const int textWidth = r.w - 1 - (bar ? 1 : 0);
    std::vector<int> widths;
    for (const toolkit::ListColumn& column : c.columns)
        widths.push_back(column.widthPixels);
    // Each column's text keeps a blank before the next column.
    const std::vector<int> cells = ColumnCells(widths, textWidth);
    const auto put = [&](int k, int y, std::string_view text, const CellStyle& s) {
        int x = r.x + 1;
        for (int j = 0; j < k; ++j)
            x += cells[static_cast<std::size_t>(j)];
        const bool last = k + 1 == static_cast<int>(cells.size());
        screen.Text(x, y, OneLine(text), s, cells[static_cast<std::size_t>(k)] - (last ? 0 : 1));
    };
    if (header) {
        const CellStyle s = Style(kBlack, kButton);
        screen.Fill({r.x, r.y, r.w, 1}, s);
        for (int k = 0; k < static_cast<int>(cells.size()); ++k)
            put(k, r.y, c.columns[static_cast<std::size_t>(k)].title, s);
    }
    int& first = listScroll_[c.id];
    if (c.selectionMark >= 0 && c.selectionMark < n)
        first = ScrollToShow(first, c.selectionMark, 1, rows, n);
    first = std::clamp(first, 0, std::max(0, n - rows));
    for (int i = 0; i < rows && first + i < n; ++i) {
        const int item = first + i;
        const int y = top + i;
        CellStyle s = field;
        if (c.selected.count(item))
            s = focused ? Style(kHighlightText, kHighlight) : Style(kBlack, kInactiveSelection);
        screen.Fill({r.x, y, textWidth + 1, 1}, s);
        if (focused && item == c.selectionMark)
            screen.Put(r.x, y, U'▸', s);
        for (int k = 0; k < static_cast<int>(cells.size()); ++k)
            put(k, y, window_.ListItemText(c.id, item, k), s);
    }
    if (bar)
        ScrollBar(screen, r.Right() - 1, top, rows, first, n, field.bg);
}

void DialogLayer::DrawCombo(CellScreen& screen, const toolkit::ControlState& c, const CellRect& r, const toolkit::CtlColorRequest& colors)
{
    const CellStyle field = FieldStyle(colors);
    const bool focused = c.id == window_.FocusId();
    screen.Fill(r, field);
    const int textWidth = std::max(0, r.w - 2);
    if (c.dropList) {
        const std::string text = c.curSel >= 0 && c.curSel < Count(c.entries) ? c.entries[static_cast<std::size_t>(c.curSel)] : "";
        const CellStyle s = focused ? Style(kHighlightText, kHighlight) : field;
        if (focused)
            screen.Fill({r.x, r.y, textWidth, 1}, s);
        screen.Text(r.x, r.y, OneLine(text), s, textWidth);
    } else {
        LineEdit& e = EditFor(c);
        if (focused)
            e.ScrollToCaret(static_cast<std::size_t>(textWidth));
        const std::size_t from = focused ? e.scroll : 0;
        const CellStyle s = focused && e.selected ? Style(kHighlightText, kHighlight) : field;
        screen.Clipped(r.x, r.y, OneLine(std::string_view(e.text).substr(std::min(from, e.text.size()))), s, textWidth);
        if (focused)
            screen.ShowCursor(r.x + static_cast<int>(e.caret - from), r.y);
    }
    if (r.w >= 2)
        screen.Put(r.Right() - 1, r.y, U'▼', Style(kBlack, kButton));
    if (dropCombo_ == c.id)
        dropAnchor_ = r;
}

void DialogLayer::DrawDropList(CellScreen& screen)
{
    const toolkit::ControlState* c = window_.Find(dropCombo_);
    if (!c || !c->visible) {
        dropCombo_ = 0;
        return;
    }
    const int n = Count(c->entries);
    const int rows = std::clamp(n, 1, kDropRows);
    CellRect box{dropAnchor_.x, dropAnchor_.y + 1, std::max(4, dropAnchor_.w), rows + 2};
    if (box.Bottom() > screen.Rows() - 1 && dropAnchor_.y - box.h >= 0)
        box.y = dropAnchor_.y - box.h;
    dropIndex_ = std::clamp(dropIndex_, n > 0 ? 0 : -1, n - 1);
    if (dropIndex_ >= 0)
        dropScroll_ = ScrollToShow(dropScroll_, dropIndex_, 1, rows, n);
    dropScroll_ = std::clamp(dropScroll_, 0, std::max(0, n - rows));
    const CellStyle face = Style(kBlack, kField);
    screen.Recolor({box.x + 1, box.Bottom(), box.w, 1}, kShadowText, kShadow);
    screen.Recolor({box.Right(), box.y + 1, 1, box.h}, kShadowText, kShadow);
    screen.Fill(box, face);
    screen.Frame(box, Style(kFrame, kField));
    const bool bar = n > rows;
    const int width = box.w - 2 - (bar ? 1 : 0);
    for (int i = 0; i < rows && dropScroll_ + i < n; ++i) {
        const int entry = dropScroll_ + i;
        const CellStyle s = entry == dropIndex_ ? Style(kHighlightText, kHighlight) : face;
        screen.Fill({box.x + 1, box.y + 1 + i, width, 1}, s);
        screen.Text(box.x + 1, box.y + 1 + i, OneLine(c->entries[static_cast<std::size_t>(entry)]), s, width);
    }
    if (bar)
        ScrollBar(screen, box.Right() - 2, box.y + 1, rows, dropScroll_, n, kField);
}

void DialogLayer::DrawEdit(CellScreen& screen, const toolkit::ControlState& c, const CellRect& r, const toolkit::CtlColorRequest& colors)
{
    const CellStyle field = FieldStyle(colors);
    const bool focused = c.id == window_.FocusId();
    screen.Fill(r, field);
    LineEdit& e = EditFor(c);
    const std::size_t width = static_cast<std::size_t>(r.w);
    if (focused)
        e.ScrollToCaret(width);
    const std::size_t from = focused ? e.scroll : 0;
    int offset = 0;
    if (c.tmpl && c.tmpl->Has("ES_RIGHT") && e.text.size() < width)
        offset = static_cast<int>(width - e.text.size()) - 1;
    else if (c.tmpl && c.tmpl->Has("ES_CENTER") && e.text.size() < width)
        offset = static_cast<int>(width - e.text.size()) / 2;
    const std::string shown = OneLine(std::string_view(e.text).substr(std::min(from, e.text.size())));
    const CellStyle s = focused && e.selected ? Style(kHighlightText, kHighlight) : field;
    screen.Clipped(r.x + offset, r.y, shown, s, r.w - offset);
    if (focused)
        screen.ShowCursor(r.x + offset + static_cast<int>(e.caret - from), r.y);
}

std::vector<HelpItem> DialogLayer::KeyHelp() const
{
    if (menu_.IsOpen())
        return {{platform::Text(text::KeyArrowsMove), 1}, {platform::Text(text::KeyEnterChoose), 1},
                {platform::Text(text::KeyLetterChoose), 2}, {platform::Text(text::KeyEscCloseMenu), 1}};
    if (dropCombo_ != 0)
        return {{platform::Text(text::KeyArrowsMove), 1}, {platform::Text(text::KeyEnterChoose), 1},
                {platform::Text(text::KeyEscCloseList), 1}};
    return {{platform::Text(text::KeyTabNext), 2},
            {platform::Text(text::KeyShiftTabBack), 5},
            {platform::Text(text::KeyArrowsMove), 4},
            {platform::Text(text::KeySpaceChoose), 3},
            {platform::Text(text::KeyEnterOk), 1},
            {platform::Text(text::KeyEscCancel), 1},
            {platform::Text(menuBar_ ? text::KeyF10Menu : text::KeyAltSpaceMenu), 1},
            {platform::Text(text::KeyF1Help), 6},
            {platform::Text(text::KeyCtrlQClose), 7}};
}

} // namespace backends::terminal
