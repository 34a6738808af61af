#include "backends/terminal/Layer.h"

#include "backends/terminal/Theme.h"

#include <algorithm>

namespace backends::terminal {

CellRect CentredBox(const CellScreen& screen, int width, int height)
{
    const int rows = std::max(1, screen.Rows() - 1);
    width = std::min(width, screen.Cols());
    height = std::min(height, rows);
    return {(screen.Cols() - width) / 2, (rows - height) / 2, width, height};
}

CellRect DrawBox(CellScreen& screen, const CellRect& box, std::string_view title, toolkit::Rgb face)
{
    using namespace theme;
    screen.Recolor({box.x + 2, box.Bottom(), box.w, 1}, kShadowText, kShadow);
    screen.Recolor({box.Right(), box.y + 1, 2, box.h}, kShadowText, kShadow);
    const CellStyle faceStyle = Style(kBlack, face);
    screen.Fill(box, faceStyle);
    screen.Frame(box, Style(kFrame, face));
    const CellStyle titleStyle = [] {
        CellStyle s = Style(kTitleText, kTitle);
        s.bold = true;
        return s;
    }();
    screen.Fill({box.x, box.y, box.w, 1}, titleStyle);
    const int room = std::max(0, box.w - 2);
    const int len = std::min(static_cast<int>(title.size()), room);
    screen.Text(box.x + (box.w - len) / 2, box.y, title, titleStyle, room);
    return {box.x + 1, box.y + 1, std::max(0, box.w - 2), std::max(0, box.h - 2)};
}

void ScrollBar(CellScreen& screen, int x, int y, int rows, int first, int total, toolkit::Rgb bg)
{
    using namespace theme;
    if (rows <= 0 || total <= rows)
        return;
    const int thumb = std::max(1, rows * rows / total);
    const int at = (rows - thumb) * first / std::max(1, total - rows);
    for (int i = 0; i < rows; ++i)
        screen.Put(x, y + i, i >= at && i < at + thumb ? U'█' : U'░', Style(kFrame, bg));
}

bool IsLeaveKey(const Key& key)
{
    return key.code == KeyCode::Escape || (key.code == KeyCode::Char && key.ctrl && key.ch == U'q') ||
           (key.code == KeyCode::Function && key.function == 4 && key.alt);
}

bool IsSpace(const Key& key)
{
    return key.code == KeyCode::Char && key.ch == U' ' && !key.ctrl && !key.alt;
}

std::optional<int> Navigate(const Key& key, int current, int count, int page)
{
    if (count <= 0)
        return std::nullopt;
    page = std::max(1, page - 1);
    int to = current;
    switch (key.code) {
    case KeyCode::Up: to = current - 1; break;
    case KeyCode::Down: to = current + 1; break;
    case KeyCode::PageUp: to = current - page; break;
    case KeyCode::PageDown: to = current + page; break;
    case KeyCode::Home: to = 0; break;
    case KeyCode::End: to = count - 1; break;
    default: return std::nullopt;
    }
    if (current < 0 && key.code != KeyCode::Home && key.code != KeyCode::End)
        to = 0;
    return std::clamp(to, 0, count - 1);
}

} // namespace backends::terminal
