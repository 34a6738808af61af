#pragma once
// The messages of the backup file; they share the keys of saving (1400-1499),
// where they were first written.
#include "platform/Texts.h"

namespace backup::text {

inline constexpr platform::TextId AllCopiesTaken{1417, "this name and %1 numbered ones are taken"};

} // namespace backup::text
