#pragma once
// The toolkit's messages (keys 1300-1319), which every backend shows: help
// that cannot be shown, and texts that the program's code page cannot hold.
#include "platform/Texts.h"

namespace toolkit {

namespace text {

inline constexpr platform::TextId HelpCannotBeShown{1300, "The help file \"%1\" cannot be shown: %2."};

// A text or a path with characters that the program's code page cannot hold;
// %2 names them ("U+0141, U+03A9").
inline constexpr platform::TextId ForeignTextNotSaved{
    1301, "Nothing was saved: the text \"%1\" holds characters that this program cannot keep (%2); here they show "
          "as \"?\". Replace them and save again."};
inline constexpr platform::TextId ForeignPathNotTaken{
    1302, "The path \"%1\" holds characters that this program cannot keep (%2); here they show as \"?\". It was "
          "not taken: choose a file or folder whose path has none of them."};

} // namespace text

} // namespace toolkit
