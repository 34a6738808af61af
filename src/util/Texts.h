#pragma once
// The messages of the utility object (keys 1050-1099).
#include "platform/Texts.h"

namespace util {

namespace text {

inline constexpr platform::TextId KeyPathNamesNoRoot{1050, "the key path names no root"};
inline constexpr platform::TextId NoRegistry{1051, "no registry is there to change"};
inline constexpr platform::TextId SettingWithoutValueLine{
    1052, "the setting \"%1\" has no value line: its key line is the last line of the file"};

} // namespace text

} // namespace util
