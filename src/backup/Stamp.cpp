#include "backup/Stamp.h"

#include <cstdio>

namespace backup {

namespace {

std::string Part(const std::string& text, std::size_t from, std::size_t count)
{
    return from < text.size() ? text.substr(from, count) : std::string();
}

} // namespace

std::string StampOf(const platform::LocalTime& time)
{
    char fields[16];
    std::snprintf(fields, sizeof fields, "%02d%02d%02d%02d", time.month, time.day, time.hour, time.minute);
    return std::to_string(time.year) + fields;
}

std::string StampNow()
{
    platform::SystemClock systemClock;
    platform::IClock& clock = platform::CurrentServices().clock ? *platform::CurrentServices().clock : systemClock;
    return StampOf(clock.Now());
}

std::array<std::string, 5> StampFields(const std::string& stamp)
{
    return {Part(stamp, 0, 4), Part(stamp, 4, 2), Part(stamp, 6, 2), Part(stamp, 8, 2), Part(stamp, 10, 2)};
}

std::string StampMinuteText(const std::string& stamp)
{
    if (stamp.size() != 12)
        return stamp;
    const auto f = StampFields(stamp);
    return f[0] + "-" + f[1] + "-" + f[2] + "T" + f[3] + ":" + f[4];
}

std::string StampNameText(const std::string& stamp)
{
    const auto f = StampFields(stamp);
    return f[0] + f[1] + f[2] + " " + f[3] + "." + f[4];
}

} // namespace backup
