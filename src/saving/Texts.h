#pragma once
// The messages of saving (keys 1400-1499).
#include "platform/Texts.h"

namespace saving {

namespace text {

inline constexpr platform::TextId NotWrittenAfterBackup{
    1400, "The value \"%1\" of the key \"%2\" could not be written: %3. Nothing was written; the backup \"%4\" "
          "holds the value from before."};
inline constexpr platform::TextId RootNotWritable{
    1401, "The value \"%1\" of the key \"%2\" could not be written: the key path must begin with HKEY_CURRENT_USER "
          "or HKEY_LOCAL_MACHINE. Nothing was changed."};
inline constexpr platform::TextId NameHoldsLineEnd{
    1402, "The value \"%1\" of the key \"%2\" could not be written: a backup file cannot hold a line end in a key or "
          "value name. Nothing was changed."};
inline constexpr platform::TextId PriorUnreadable{
    1403, "The value \"%1\" of the key \"%2\" could not be written: its present value cannot be read (%3), so no "
          "exact backup can be made. Nothing was changed."};
inline constexpr platform::TextId NotWrittenNothingChanged{
    1406, "The value \"%1\" of the key \"%2\" could not be written: %3. Nothing was changed."};
inline constexpr platform::TextId NoFunctionShown{1404, "Nothing was saved: no function is shown."};
inline constexpr platform::TextId NoKindToSave{
    1405, "Nothing was saved: the function \"%1\" has no kind that can be saved (its header in the catalogue is "
          "\"%2\")."};

// What the registry said, when it says no more than the kind of its fault.
inline constexpr platform::TextId CauseAccessDenied{1410, "access is denied"};
inline constexpr platform::TextId CauseCannotRead{1411, "the registry cannot be read"};
inline constexpr platform::TextId CauseNoKey{1412, "the key path names no key"};
inline constexpr platform::TextId CauseChangedWhileRead{1413, "the registry changed while it was read"};
inline constexpr platform::TextId CauseCannotUse{1414, "the registry cannot be used"};
inline constexpr platform::TextId CauseKeyCannotOpen{1415, "the key cannot be opened"};
inline constexpr platform::TextId CauseRefused{1416, "the registry refused the change"};

} // namespace text

} // namespace saving
