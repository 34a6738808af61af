#pragma once
// The messages of the catalogue's faults (keys 1650-1699) and of Windows'
// defaults beside it (2100-2119).
#include "platform/Texts.h"

namespace catalogue {

namespace text {

inline constexpr platform::TextId KeyWithoutHeader{
    1650, "\"%1\" has no header line for the function key %2 (a header line has nine or more characters), so the "
          "filter cannot judge the functions from there on. Check the catalogue against the translation file."};
inline constexpr platform::TextId KeysWithoutHeader{
    1651, "\"%1\" has no header line for the function keys %2 (a header line has nine or more characters), so the "
          "filter cannot judge the functions from there on. Check the catalogue against the translation file."};

inline constexpr platform::TextId BadDefaultLine{
    2100, "\"%1\", line %2: a line of Windows' defaults starts with a function key (10000, 10010, ...) and one "
          "separator, then the value as a registry file writes it (\"400\", dword:00000000, or - for none)"};
inline constexpr platform::TextId BadDefaultValue{2101, "\"%1\", line %2: the value cannot be read: %3"};
inline constexpr platform::TextId DefaultTwice{2102, "\"%1\", line %2: the function %3 has its default on line %4 already"};

} // namespace text

} // namespace catalogue
