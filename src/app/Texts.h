#pragma once
// The main window's own messages (keys 1500-1599, 2400-2409, 2420-2429, 1806
// for the file picker of Browse, and 1200 for a registry store that cannot be read).
#include "platform/Texts.h"

namespace app {

namespace text {

inline constexpr platform::TextId MarkerNotDeleted{1500, "The value \"%1\" of the key \"%2\" could not be deleted: %3."};
inline constexpr platform::TextId CloseUnsaved{
    1501, "The new value of \"%1\" has not been saved. Close without saving?"};
inline constexpr platform::TextId CannotOpen{1502, "\"%1\" could not be opened: %2."};
// The first line of the report of a registry that cannot be read; what is
// wrong with it follows on a line of its own.
inline constexpr platform::TextId RegistryUnusable{
    1200, "The registry store cannot be used and is left as it is; settings cannot be read or saved until it is "
          "mended."};
inline constexpr platform::TextId LeaveUnsaved{
    2400, "The new value of \"%1\" has not been saved. Show \"%2\" without saving?"};
// Reverse changes: a backup whose values could not be backed up first, and
// one that no program opens.
inline constexpr platform::TextId ReverseNotBackedUp{
    2420, "\"%1\" was not handed over for import: the values it changes go into a backup first, and that failed."};
inline constexpr platform::TextId RestoreInstead{
    2421, "\"%1\" could not be opened: %2. Restore it with Tunewright instead?"};
inline constexpr platform::TextId AllFilesFilter{1806, "All files (*.*)"};

} // namespace text

} // namespace app
