#pragma once
// The toolkit's messages (keys 1300-1319), which every backend shows: help
// that cannot be shown, and texts that the program's code page cannot hold.
#include "platform/Texts.h"

namespace text {

inline constexpr tk::TextId HelpCannotBeShown{1300, "The help file \"%1\" cannot be shown: %2."};

} // namespace text
