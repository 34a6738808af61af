#pragma once
// How the headless driver prints texts: C-style escapes for quotes,
// backslashes and control bytes; bytes from 0x80 up pass through unchanged.
#include <string>
#include <string_view>

namespace backends::headless {

std::string Quote(std::string_view text);

} // namespace backends::headless
