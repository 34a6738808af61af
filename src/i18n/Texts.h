#pragma once
// The messages of the translation file's faults (keys 1600-1649).
#include "platform/Texts.h"

namespace text {

inline constexpr tk::TextId NoLanguageNoFallback{
    1600, "config.ini names no language and the file has no section %1"};
inline constexpr tk::TextId NoFallbackSection{1601, "the file has no section %1"};
inline constexpr tk::TextId NeitherSection{1602, "the file has neither the section %1 nor the section %2"};

} // namespace text
