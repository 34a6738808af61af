#pragma once
// The driver's "dump" output read back into a structure, so that tests ask
// "is 1005 shown and what does it say" instead of matching whole lines.
#include <map>
#include <set>
#include <string>
#include <vector>

namespace e2e {

struct ControlView {
    bool shown = false;
    bool checked = false;
    std::string text;
};

struct Screen {
    std::map<int, ControlView> controls;
    int listMark = -2; // -2: the dump had no list line
    std::vector<std::string> items;
    std::vector<std::string> columns;           // of a list of more than one column
    std::vector<std::vector<std::string>> rows; // each item's texts, column by column
    std::set<int> selectedItems;
    int comboSel = -2;
    std::vector<std::string> entries;
    std::map<std::string, std::string> menu;    // position ("0", "0.4") -> text
    std::map<std::string, std::string> sysmenu; // position -> text

    // The control, or a failed test expectation when the dump lacks it.
    const ControlView& Control(int id) const;
    // Ids of the value controls (1002-1007) that are shown, in id order.
    std::vector<int> ShownValueControls() const;
};

// Every dump in the output, in order; other lines are skipped.
std::vector<Screen> Screens(const std::vector<std::string>& lines);
// The last dump; fails the test when there is none.
Screen LastScreen(const std::vector<std::string>& lines);

// The text of a quoted event field with the driver's escapes undone.
std::string Unquote(const std::string& quoted);
// A text as the driver prints it between its quotes: the escapes done.
std::string Escape(const std::string& text);

// The targets of the "shell open" events, in order, escapes undone.
std::vector<std::string> ShellOpened(const std::vector<std::string>& lines);

} // namespace e2e
