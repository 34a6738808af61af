#pragma once
// The messages of Find (keys 1800-1849).
#include "platform/Texts.h"

namespace text {

inline constexpr tk::TextId MenuFind{1800, "&Find..."};
inline constexpr tk::TextId FindCaption{1801, "Find"};
inline constexpr tk::TextId FindLabel{1802, "Fi&nd what:"};
inline constexpr tk::TextId FindNextButton{1803, "Find &next"};
inline constexpr tk::TextId FindCloseButton{1804, "Close"};
inline constexpr tk::TextId FindNoMatch{1805, "No match for \"%1\"."};

} // namespace text
