#pragma once
// The terminal's own words (keys 1320-1369, 1380, 2402-2409): the key help line, the boxes'
// buttons, the pickers and the help view. On Windows the system words them.
#include "platform/Texts.h"

namespace text {

// The key help line at the bottom of the screen.
inline constexpr tk::TextId KeyTabNext{1320, "Tab next"};
inline constexpr tk::TextId KeyShiftTabBack{1321, "Shift-Tab back"};
inline constexpr tk::TextId KeyArrowsMove{1322, "Arrows move"};
inline constexpr tk::TextId KeySpaceChoose{1323, "Space choose"};
inline constexpr tk::TextId KeyEnterOk{1324, "Enter OK"};
inline constexpr tk::TextId KeyEscCancel{1325, "Esc cancel"};
inline constexpr tk::TextId KeyF10Menu{1326, "F10 menu"};
inline constexpr tk::TextId KeyAltSpaceMenu{1327, "Alt-Space menu"};
inline constexpr tk::TextId KeyF1Help{1328, "F1 help"};
inline constexpr tk::TextId KeyCtrlQClose{1329, "Ctrl-Q close"};
inline constexpr tk::TextId KeyEnterChoose{1330, "Enter choose"};
inline constexpr tk::TextId KeyLetterChoose{1331, "Letter choose"};
inline constexpr tk::TextId KeyEscCloseMenu{1332, "Esc close menu"};
inline constexpr tk::TextId KeyEscCloseList{1333, "Esc close list"};
inline constexpr tk::TextId KeyArrowsTabMove{1334, "Arrows/Tab move"};
inline constexpr tk::TextId KeyEnterPress{1335, "Enter press"};
inline constexpr tk::TextId KeyYYes{1336, "Y yes"};
inline constexpr tk::TextId KeyNNo{1337, "N no"};
inline constexpr tk::TextId KeyEscNo{1338, "Esc no"};
inline constexpr tk::TextId KeyEscOk{1339, "Esc OK"};
inline constexpr tk::TextId KeyEnterOpen{1340, "Enter open"};
inline constexpr tk::TextId KeySpaceChooseFolder{1341, "Space choose this folder"};
inline constexpr tk::TextId KeyBackspaceUp{1342, "Backspace up"};
inline constexpr tk::TextId KeyTypeNameOrPath{1343, "Type a name or path"};
inline constexpr tk::TextId KeyTabList{1344, "Tab list"};
inline constexpr tk::TextId KeyEnterOpenChoose{1345, "Enter open/choose"};
inline constexpr tk::TextId KeyTabName{1346, "Tab name"};
inline constexpr tk::TextId KeyArrowsScroll{1347, "Arrows/PageUp/PageDown scroll"};
inline constexpr tk::TextId KeyEscClose{1348, "Esc close"};

// The terminal itself, when the program starts.
inline constexpr tk::TextId TerminalUnusable{1349, "the terminal cannot be used (%1)"};
inline constexpr tk::TextId NotATerminal{1354, "standard input and output must be a terminal"};

// Message boxes and the system menu.
inline constexpr tk::TextId ButtonYes{1350, "&Yes"};
inline constexpr tk::TextId ButtonNo{1351, "&No"};
inline constexpr tk::TextId ButtonOk{1352, "OK"};
inline constexpr tk::TextId SystemMenuClose{1353, "&Close"};

// The file and folder pickers.
inline constexpr tk::TextId PickerOpenTitle{1355, "Open"};
inline constexpr tk::TextId PickerFolderTitle{1356, "Browse for Folder"};
inline constexpr tk::TextId PickerLookIn{1357, "Look in:"};
inline constexpr tk::TextId PickerFolder{1358, "Folder:"};
inline constexpr tk::TextId PickerFilesOfType{1359, "Files of type:"};
inline constexpr tk::TextId PickerAllFiles{1360, "All files"};
inline constexpr tk::TextId PickerFileName{1361, "File name:"};
inline constexpr tk::TextId PickerNoFiles{1362, "No files of this type here"};
inline constexpr tk::TextId PickerNoFolders{1363, "No folders here"};
inline constexpr tk::TextId PickerChooseFolder{1364, "Choose this folder"};
inline constexpr tk::TextId PickerCannotRead{1365, "Cannot read the folder %1: %2"};

// The screen and the desktop's opener.
inline constexpr tk::TextId EnlargeTerminal{1366, "Please enlarge the terminal window."};
// Why the shell could not open a target, for the message that names it.
inline constexpr tk::TextId NoXdgOpen{
    1367, "the program xdg-open was not found; install xdg-utils to open files, folders and web addresses from %1"};
inline constexpr tk::TextId NoNewProcess{1368, "no new process could be started"};
inline constexpr tk::TextId HelpViewTitle{1369, "Help"};
inline constexpr tk::TextId KeyArrowsChangeType{1380, "Arrows change the type"};
// A terminal too small for the main window, whose controls would run off it.
inline constexpr tk::TextId TerminalTooSmall{
    2402, "The window needs a terminal of at least %1 x %2 characters; this one has %3 x %4. Please enlarge it."};

} // namespace text
