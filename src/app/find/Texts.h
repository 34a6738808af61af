#pragma once
// The messages of Find (keys 1800-1849).
#include "platform/Texts.h"

namespace app {

namespace text {

inline constexpr platform::TextId MenuFind{1800, "&Find..."};
inline constexpr platform::TextId FindCaption{1801, "Find"};
inline constexpr platform::TextId FindLabel{1802, "Fi&nd what:"};
inline constexpr platform::TextId FindNextButton{1803, "Find &next"};
inline constexpr platform::TextId FindCloseButton{1804, "Close"};
inline constexpr platform::TextId FindNoMatch{1805, "No match for \"%1\"."};

} // namespace text

} // namespace app
