#include "toolkit/terminal/Layer.h"

#include "toolkit/terminal/Theme.h"

#include <algorithm>

namespace tk {

CellRect CentredBox(const CellScreen& screen, int width, int height)
{
    const int rows = std::max(1, screen.Rows() - 1);
    width = std::min(width, screen.Cols());
    height = std::min(height, rows);
    return {(screen.Cols() - width) / 2, (rows - height) / 2, width, height};
}

CellRect DrawBox(CellScreen& screen, const CellRect& box, std::string_view title, Rgb face)
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

} // namespace tk
