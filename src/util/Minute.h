#pragma once
// A minute of local time as the command lines write it, YYYY-MM-DDTHH:MM:
// the driver's and the command line's --now, and the command line's
// undo --since (as a stamp: backup/Stamp.h).
#include "platform/Services.h"

#include <optional>
#include <string>

namespace util {

// Nothing for any other text, or for a month, day, hour or minute out of range.
std::optional<platform::LocalTime> ParseMinute(const std::string& text);

} // namespace util
