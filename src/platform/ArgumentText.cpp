#include "platform/ConsoleText.h"

namespace platform {

// Through the window's own check of a typed text: the same characters are
// refused, and named the same way.
CodePageText ArgumentText(std::string_view argument)
{
    const std::optional<std::u16string> wide = Utf8ToUtf16(argument);
    if (!wide)
        return {std::string(argument), {}};
    return FromUtf16(*wide);
}

} // namespace platform
