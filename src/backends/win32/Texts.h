#pragma once
// The Windows program's own words (keys 1370-1389): its error boxes and the
// help viewer's.
#include "platform/Texts.h"

namespace backends::win32 {

namespace text {

inline constexpr platform::TextId UnexpectedError{1370, "An unexpected error ended the operation."};
inline constexpr platform::TextId DialogCannotShow{1371, "The window %1 cannot be shown (%2)."};
// Why the shell did not open the help file, in the system's words.
inline constexpr platform::TextId SystemCannotOpen{1372, "the system cannot open it (%1)"};

} // namespace text

} // namespace backends::win32
