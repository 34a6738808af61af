#pragma once
// The picture of the whole terminal as a grid of cells. Views draw into it
// every frame; Render turns the difference to the previous frame into ANSI
// output, so an unchanged screen costs nothing.
#include "toolkit/Dialog.h"
#include "backends/terminal/Colours.h"
#include "backends/terminal/Layout.h"

#include <string>
#include <string_view>
#include <vector>

namespace backends::terminal {

struct CellStyle {
    toolkit::Rgb fg{0, 0, 0};
    toolkit::Rgb bg{255, 255, 255};
    bool bold = false;
    bool underline = false;

    bool operator==(const CellStyle&) const = default;
};

struct Cell {
    char32_t ch = U' ';
    CellStyle style;

    bool operator==(const Cell&) const = default;
};

class CellScreen {
public:
    void Resize(int cols, int rows);
    int Cols() const { return cols_; }
    int Rows() const { return rows_; }

    // Drawing outside the clip rectangle (the whole screen by default) is
    // dropped.
    void SetClip(const CellRect& clip);
    void ResetClip();
    const CellRect& Clip() const { return clip_; }

    void Clear(const CellStyle& style);
    void Put(int x, int y, char32_t ch, const CellStyle& style);
    // Windows-1252 text on one line, at most `maxWidth` cells; returns the
    // cells written. Control characters show as blanks. A text that does not
    // fit (blanks at its end aside) ends in "…" in the last cell.
    int Text(int x, int y, std::string_view text, const CellStyle& style, int maxWidth = 1 << 20);
    // The same, cut at `maxWidth` without a mark: for the view of an edit
    // field, which scrolls.
    int Clipped(int x, int y, std::string_view text, const CellStyle& style, int maxWidth = 1 << 20);
    // A caption with its mnemonic underlined, fitted as Text fits.
    int Label(int x, int y, std::string_view caption, const CellStyle& style, int maxWidth = 1 << 20);
    void Fill(const CellRect& rect, const CellStyle& style);
    void Frame(const CellRect& rect, const CellStyle& style);
    // Changes only the colours of cells already drawn (a shadow, a highlight).
    void Recolor(const CellRect& rect, toolkit::Rgb fg, toolkit::Rgb bg);

    void ShowCursor(int x, int y);
    void HideCursor() { cursorVisible_ = false; }

    // How Render writes colours; 24-bit unless told.
    void SetColourDepth(ColourDepth depth) { depth_ = depth; }

    // The output that brings the terminal from the previous frame to this
    // one; everything when `full`.
    std::string Render(bool full);

    const Cell& At(int x, int y) const { return cells_[static_cast<std::size_t>(y * cols_ + x)]; }
    // The text of one row as UTF-8, for tests and diagnostics.
    std::string RowText(int y) const;

private:
    bool Visible(int x, int y) const;

    int cols_ = 0;
    int rows_ = 0;
    ColourDepth depth_ = ColourDepth::Direct;
    CellRect clip_;
    std::vector<Cell> cells_;
    std::vector<Cell> shown_;
    bool cursorVisible_ = false;
    int cursorX_ = 0;
    int cursorY_ = 0;
    bool shownCursorVisible_ = false;
    int shownCursorX_ = -1;
    int shownCursorY_ = -1;
};

} // namespace backends::terminal
