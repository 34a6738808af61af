#pragma once
// The messages of the translation file's faults (keys 1600-1649).
#include "platform/Texts.h"

namespace i18n {

namespace text {

inline constexpr platform::TextId NoLanguageNoFallback{
    1600, "config.ini names no language and the file has no section %1"};
inline constexpr platform::TextId NoFallbackSection{1601, "the file has no section %1"};
inline constexpr platform::TextId NeitherSection{1602, "the file has neither the section %1 nor the section %2"};

} // namespace text

} // namespace i18n
