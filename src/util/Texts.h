#pragma once
// The messages of the utility object (keys 1050-1099).
#include "platform/Texts.h"

namespace text {

inline constexpr tk::TextId KeyPathNamesNoRoot{1050, "the key path names no root"};
inline constexpr tk::TextId NoRegistry{1051, "no registry is there to change"};
inline constexpr tk::TextId SettingWithoutValueLine{
    1052, "the setting \"%1\" has no value line: its key line is the last line of the file"};

} // namespace text
