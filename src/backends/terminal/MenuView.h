#pragma once
// The menu bar of a dialog and its drop-downs, the system menu included.
#include "toolkit/model/ModelWindow.h"
#include "backends/terminal/KeyDecoder.h"
#include "backends/terminal/Screen.h"

#include <optional>
#include <string>
#include <vector>

namespace backends::terminal {

struct MenuEntry {
    std::string caption;
    std::vector<toolkit::MenuItemState> items;
    bool system = false; // items are system commands
};

// The system menu (shown as "-") first when the dialog has one, then the
// drop-downs of the menu bar.
std::vector<MenuEntry> MenuEntries(const toolkit::ModelWindow& window);

// The item a user chose.
struct MenuChoice {
    int id = 0;
    bool system = false;
};

class MenuView {
public:
    bool IsOpen() const { return open_; }
    void Open(const std::vector<MenuEntry>& entries, int entry);
    void Close() { open_ = false; }
    // The entry whose caption has this mnemonic (folded), if any.
    static std::optional<int> EntryFor(const std::vector<MenuEntry>& entries, char mnemonic);

    // Keys while the menu is open: the item the key chose, if it chose one
    // (the menu has closed then).
    std::optional<MenuChoice> HandleKey(const std::vector<MenuEntry>& entries, const Key& key);

    // The bar on one row.
    void DrawBar(CellScreen& screen, const std::vector<MenuEntry>& entries, int x, int y, int width) const;
    // The open drop-down below entry `entry` of a bar drawn at (x, y), or at
    // (x, y) itself when there is no bar.
    void DrawDropDown(CellScreen& screen, const std::vector<MenuEntry>& entries, int x, int y, bool bar) const;

private:
    void Step(const std::vector<toolkit::MenuItemState>& items, int direction);

    bool open_ = false;
    int entry_ = 0;
    int item_ = 0;
};

} // namespace backends::terminal
