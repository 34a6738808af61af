#pragma once
// One thing on the terminal's stack of windows: a dialog, a message box or a
// path prompt. The top layer takes the keys; all layers are drawn, bottom up.
#include "backends/terminal/KeyDecoder.h"
#include "backends/terminal/Screen.h"
#include "backends/terminal/TextLayout.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace backends::terminal {

using SteadyTime = std::chrono::steady_clock::time_point;

class Layer {
public:
    virtual ~Layer() = default;

    virtual void Draw(CellScreen& screen) = 0;
    virtual void HandleKey(const Key& key) = 0;
    virtual bool Done() const = 0;
    // The one-line key help shown at the bottom while this layer is on top.
    virtual std::vector<HelpItem> KeyHelp() const = 0;
    // The input went away: end with the answer a user leaving would give.
    virtual void Abandon() = 0;

    // Timers run in every open dialog, whichever layer is on top.
    virtual void FireTimers(SteadyTime) {}
    virtual std::optional<SteadyTime> NextTimer() const { return std::nullopt; }
};

// Where a box of the given size sits: centred over the screen without its
// key help line.
CellRect CentredBox(const CellScreen& screen, int width, int height);
// A box with a title bar, frame and shadow; returns the inside.
CellRect DrawBox(CellScreen& screen, const CellRect& box, std::string_view title, toolkit::Rgb face);
// A vertical scroll bar of `rows` cells for a view from `first` over `total`
// lines; nothing when everything fits.
void ScrollBar(CellScreen& screen, int x, int y, int rows, int first, int total, toolkit::Rgb bg);

// Where a list or drop-down of `count` entries moves from `current` for a
// navigation key (arrows, PageUp/PageDown by `page` rows, Home, End), or
// nothing for other keys.
// Escape, Ctrl+Q and Alt+F4: the keys that leave a picker or a view.
bool IsLeaveKey(const Key& key);
// The space bar alone.
bool IsSpace(const Key& key);

std::optional<int> Navigate(const Key& key, int current, int count, int page);

} // namespace backends::terminal
