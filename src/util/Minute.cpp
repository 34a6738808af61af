#include "util/Minute.h"

#include <cstdio>

std::optional<tk::LocalTime> ParseMinute(const std::string& text)
{
    tk::LocalTime t;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d%c", &t.year, &t.month, &t.day, &t.hour, &t.minute, &tail) != 5)
        return std::nullopt;
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 || t.hour < 0 ||
        t.minute < 0)
        return std::nullopt;
    return t;
}
