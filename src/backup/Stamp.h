#pragma once
// The minute a backup was made, as its name holds it: YYYYMMDDHHMM, the year
// in decimal and the other fields two digits each. The history sorts by it
// and undo --since compares it, so it comes from one reading of the clock:
// read field by field, a save at 09:59:59 could be named 09.00.
#include "platform/Services.h"

#include <array>
#include <string>

namespace backup {

std::string StampOf(const platform::LocalTime& time);

// The stamp of the installed clock (the services'), else the system's.
std::string StampNow();

// A stamp as the command line writes a minute: YYYY-MM-DDTHH:MM.
std::string StampMinuteText(const std::string& stamp);

// A stamp as the names of undo backups hold it: YYYYMMDD HH.MM.
std::string StampNameText(const std::string& stamp);

// Year, month, day, hour and minute, for a translated text of the minute.
std::array<std::string, 5> StampFields(const std::string& stamp);

} // namespace backup
