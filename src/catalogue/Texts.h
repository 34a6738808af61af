#pragma once
// The messages of the catalogue's faults (keys 1650-1699).
#include "platform/Texts.h"

namespace text {

inline constexpr tk::TextId KeyWithoutHeader{
    1650, "\"%1\" has no header line for the function key %2 (a header line has nine or more characters), so the "
          "filter cannot judge the functions from there on. Check the catalogue against the translation file."};
inline constexpr tk::TextId KeysWithoutHeader{
    1651, "\"%1\" has no header line for the function keys %2 (a header line has nine or more characters), so the "
          "filter cannot judge the functions from there on. Check the catalogue against the translation file."};

} // namespace text
