#pragma once
// The terminal's own words (keys 1320-1369, 1380, 2402-2409): the key help line, the boxes'
// buttons, the pickers and the help view. On Windows the system words them.
#include "platform/Texts.h"

namespace backends::terminal {

namespace text {

// The key help line at the bottom of the screen.
inline constexpr platform::TextId KeyTabNext{1320, "Tab next"};
inline constexpr platform::TextId KeyShiftTabBack{1321, "Shift-Tab back"};
inline constexpr platform::TextId KeyArrowsMove{1322, "Arrows move"};
inline constexpr platform::TextId KeySpaceChoose{1323, "Space choose"};
inline constexpr platform::TextId KeyEnterOk{1324, "Enter OK"};
inline constexpr platform::TextId KeyEscCancel{1325, "Esc cancel"};
inline constexpr platform::TextId KeyF10Menu{1326, "F10 menu"};
inline constexpr platform::TextId KeyAltSpaceMenu{1327, "Alt-Space menu"};
inline constexpr platform::TextId KeyF1Help{1328, "F1 help"};
inline constexpr platform::TextId KeyCtrlQClose{1329, "Ctrl-Q close"};
inline constexpr platform::TextId KeyEnterChoose{1330, "Enter choose"};
inline constexpr platform::TextId KeyLetterChoose{1331, "Letter choose"};
inline constexpr platform::TextId KeyEscCloseMenu{1332, "Esc close menu"};
inline constexpr platform::TextId KeyEscCloseList{1333, "Esc close list"};
inline constexpr platform::TextId KeyArrowsTabMove{1334, "Arrows/Tab move"};
inline constexpr platform::TextId KeyEnterPress{1335, "Enter press"};
inline constexpr platform::TextId KeyYYes{1336, "Y yes"};
inline constexpr platform::TextId KeyNNo{1337, "N no"};
inline constexpr platform::TextId KeyEscNo{1338, "Esc no"};
inline constexpr platform::TextId KeyEscOk{1339, "Esc OK"};
inline constexpr platform::TextId KeyEnterOpen{1340, "Enter open"};
inline constexpr platform::TextId KeySpaceChooseFolder{1341, "Space choose this folder"};
inline constexpr platform::TextId KeyBackspaceUp{1342, "Backspace up"};
inline constexpr platform::TextId KeyTypeNameOrPath{1343, "Type a name or path"};
inline constexpr platform::TextId KeyTabList{1344, "Tab list"};
inline constexpr platform::TextId KeyEnterOpenChoose{1345, "Enter open/choose"};
inline constexpr platform::TextId KeyTabName{1346, "Tab name"};
inline constexpr platform::TextId KeyArrowsScroll{1347, "Arrows/PageUp/PageDown scroll"};
inline constexpr platform::TextId KeyEscClose{1348, "Esc close"};

// The terminal itself, when the program starts.
inline constexpr platform::TextId TerminalUnusable{1349, "the terminal cannot be used (%1)"};
inline constexpr platform::TextId NotATerminal{1354, "standard input and output must be a terminal"};

// Message boxes and the system menu.
inline constexpr platform::TextId ButtonYes{1350, "&Yes"};
inline constexpr platform::TextId ButtonNo{1351, "&No"};
inline constexpr platform::TextId ButtonOk{1352, "OK"};
inline constexpr platform::TextId SystemMenuClose{1353, "&Close"};

// The file and folder pickers.
inline constexpr platform::TextId PickerOpenTitle{1355, "Open"};
inline constexpr platform::TextId PickerFolderTitle{1356, "Browse for Folder"};
inline constexpr platform::TextId PickerLookIn{1357, "Look in:"};
inline constexpr platform::TextId PickerFolder{1358, "Folder:"};
inline constexpr platform::TextId PickerFilesOfType{1359, "Files of type:"};
inline constexpr platform::TextId PickerAllFiles{1360, "All files"};
inline constexpr platform::TextId PickerFileName{1361, "File name:"};
inline constexpr platform::TextId PickerNoFiles{1362, "No files of this type here"};
inline constexpr platform::TextId PickerNoFolders{1363, "No folders here"};
inline constexpr platform::TextId PickerChooseFolder{1364, "Choose this folder"};
inline constexpr platform::TextId PickerCannotRead{1365, "Cannot read the folder %1: %2"};

// The screen and the desktop's opener.
inline constexpr platform::TextId EnlargeTerminal{1366, "Please enlarge the terminal window."};
// Why the shell could not open a target, for the message that names it.
inline constexpr platform::TextId NoXdgOpen{
    1367, "the program xdg-open was not found; install xdg-utils to open files, folders and web addresses from %1"};
inline constexpr platform::TextId NoNewProcess{1368, "no new process could be started"};
inline constexpr platform::TextId HelpViewTitle{1369, "Help"};
inline constexpr platform::TextId KeyArrowsChangeType{1380, "Arrows change the type"};
// A terminal too small for the main window, whose controls would run off it.
inline constexpr platform::TextId TerminalTooSmall{
    2402, "The window needs a terminal of at least %1 x %2 characters; this one has %3 x %4. Please enlarge it."};

} // namespace text

} // namespace backends::terminal
