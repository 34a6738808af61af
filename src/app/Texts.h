#pragma once
// The main window's own messages (keys 1500-1599, and 1806 for the file
// picker of Browse).
#include "platform/Texts.h"

namespace text {

inline constexpr tk::TextId AllFilesFilter{1806, "All files (*.*)"};

} // namespace text
