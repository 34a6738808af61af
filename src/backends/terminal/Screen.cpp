#include "backends/terminal/Screen.h"

#include "platform/Cp1252.h"
#include "backends/terminal/TextLayout.h"

#include <algorithm>

namespace backends::terminal {

namespace {

char32_t Printable(char32_t ch)
{
    if (ch < 0x20 || (ch >= 0x7F && ch < 0xA0))
        return U' ';
    return ch;
}

void AppendNumber(std::string& out, int n)
{
    out += std::to_string(n);
}

void AppendStyle(std::string& out, const CellStyle& s, ColourDepth depth)
{
    out += "\x1b[0";
    if (s.bold)
        out += ";1";
    if (s.underline)
        out += ";4";
    out += ';';
    out += ColourParameters(depth, s.fg, s.bg);
    out += 'm';
}

void AppendMove(std::string& out, int x, int y)
{
    out += "\x1b[";
    AppendNumber(out, y + 1);
    out += ';';
    AppendNumber(out, x + 1);
    out += 'H';
}

} // namespace

void CellScreen::Resize(int cols, int rows)
{
    cols_ = std::max(0, cols);
    rows_ = std::max(0, rows);
    cells_.assign(static_cast<std::size_t>(cols_ * rows_), Cell{});
    shown_.clear();
    ResetClip();
}

void CellScreen::SetClip(const CellRect& clip)
{
    const int x0 = std::max(0, clip.x);
    const int y0 = std::max(0, clip.y);
    const int x1 = std::min(cols_, clip.Right());
    const int y1 = std::min(rows_, clip.Bottom());
    clip_ = {x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

void CellScreen::ResetClip()
{
    clip_ = {0, 0, cols_, rows_};
}

bool CellScreen::Visible(int x, int y) const
{
    return x >= clip_.x && x < clip_.Right() && y >= clip_.y && y < clip_.Bottom();
}

void CellScreen::Clear(const CellStyle& style)
{
    std::fill(cells_.begin(), cells_.end(), Cell{U' ', style});
    cursorVisible_ = false;
}

void CellScreen::Put(int x, int y, char32_t ch, const CellStyle& style)
{
    if (Visible(x, y))
        cells_[static_cast<std::size_t>(y * cols_ + x)] = Cell{Printable(ch), style};
}

int CellScreen::Clipped(int x, int y, std::string_view text, const CellStyle& style, int maxWidth)
{
    const int n = std::min(static_cast<int>(text.size()), std::max(0, maxWidth));
    for (int i = 0; i < n; ++i)
        Put(x + i, y, platform::DecodeCp1252(static_cast<unsigned char>(text[static_cast<std::size_t>(i)])), style);
    return n;
}

int CellScreen::Text(int x, int y, std::string_view text, const CellStyle& style, int maxWidth)
{
    if (!Cut(text, maxWidth))
        return Clipped(x, y, text, style, maxWidth);
    Clipped(x, y, text, style, maxWidth - 1);
    Put(x + maxWidth - 1, y, kEllipsis, style);
    return maxWidth;
}

int CellScreen::Label(int x, int y, std::string_view caption, const CellStyle& style, int maxWidth)
{
    const backends::terminal::Label label = ParseLabel(caption);
    const int n = Text(x, y, label.text, style, maxWidth);
    const int shown = Cut(label.text, maxWidth) ? n - 1 : n;
    if (label.mnemonic >= 0 && label.mnemonic < shown) {
        CellStyle marked = style;
        marked.underline = true;
        const auto c = static_cast<unsigned char>(label.text[static_cast<std::size_t>(label.mnemonic)]);
        Put(x + label.mnemonic, y, platform::DecodeCp1252(c), marked);
    }
    return n;
}

void CellScreen::Fill(const CellRect& rect, const CellStyle& style)
{
    for (int y = rect.y; y < rect.Bottom(); ++y)
        for (int x = rect.x; x < rect.Right(); ++x)
            Put(x, y, U' ', style);
}

void CellScreen::Frame(const CellRect& r, const CellStyle& style)
{
    if (r.w < 2 || r.h < 2)
        return;
    for (int x = r.x + 1; x < r.Right() - 1; ++x) {
        Put(x, r.y, U'─', style);
        Put(x, r.Bottom() - 1, U'─', style);
    }
    for (int y = r.y + 1; y < r.Bottom() - 1; ++y) {
        Put(r.x, y, U'│', style);
        Put(r.Right() - 1, y, U'│', style);
    }
    Put(r.x, r.y, U'┌', style);
    Put(r.Right() - 1, r.y, U'┐', style);
    Put(r.x, r.Bottom() - 1, U'└', style);
    Put(r.Right() - 1, r.Bottom() - 1, U'┘', style);
}

void CellScreen::Recolor(const CellRect& rect, toolkit::Rgb fg, toolkit::Rgb bg)
{
    for (int y = rect.y; y < rect.Bottom(); ++y)
        for (int x = rect.x; x < rect.Right(); ++x)
            if (Visible(x, y)) {
                Cell& c = cells_[static_cast<std::size_t>(y * cols_ + x)];
                c.style.fg = fg;
                c.style.bg = bg;
            }
}

void CellScreen::ShowCursor(int x, int y)
{
    if (x < 0 || y < 0 || x >= cols_ || y >= rows_)
        return;
    cursorVisible_ = true;
    cursorX_ = x;
    cursorY_ = y;
}

std::string CellScreen::Render(bool full)
{
    const bool all = full || shown_.size() != cells_.size();
    std::string cells;
    const CellStyle* current = nullptr;
    int atX = -1, atY = -1;
    for (int y = 0; y < rows_; ++y) {
        for (int x = 0; x < cols_; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * cols_ + x);
            const Cell& c = cells_[i];
            if (!all && shown_[i] == c)
                continue;
            if (atX != x || atY != y)
                AppendMove(cells, x, y);
            if (!current || !(*current == c.style)) {
                AppendStyle(cells, c.style, depth_);
                current = &c.style;
            }
            platform::AppendUtf8(cells, c.ch);
            atX = x + 1;
            atY = y;
        }
    }
    const bool cursorMoved = cursorVisible_ != shownCursorVisible_ ||
                             (cursorVisible_ && (cursorX_ != shownCursorX_ || cursorY_ != shownCursorY_));
    if (!all && cells.empty() && !cursorMoved)
        return {};
    // The cursor stays hidden while cells change, so it never flickers
    // across the screen.
    std::string out = "\x1b[?25l";
    if (all)
        out += "\x1b[0m\x1b[2J";
    out += cells;
    out += "\x1b[0m";
    if (cursorVisible_) {
        AppendMove(out, cursorX_, cursorY_);
        out += "\x1b[?25h";
    }
    shown_ = cells_;
    shownCursorVisible_ = cursorVisible_;
    shownCursorX_ = cursorX_;
    shownCursorY_ = cursorY_;
    return out;
}

std::string CellScreen::RowText(int y) const
{
    std::string out;
    for (int x = 0; x < cols_; ++x)
        platform::AppendUtf8(out, At(x, y).ch);
    return out;
}

} // namespace backends::terminal
