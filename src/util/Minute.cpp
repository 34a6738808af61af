#include "util/Minute.h"

namespace util {

namespace {

// The digits of text[at, at + count) as a number; none for any other character.
std::optional<int> Digits(const std::string& text, std::size_t at, std::size_t count)
{
    int n = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        n = n * 10 + (text[i] - '0');
    }
    return n;
}

int DaysIn(int year, int month)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

} // namespace

std::optional<platform::LocalTime> ParseMinute(const std::string& text)
{
    // Exactly YYYY-MM-DDTHH:MM: a shorter year would make a stamp that sorts
    // among the others wrongly, and the system's calendar starts in 1601.
    if (text.size() != 16 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':')
        return std::nullopt;
    const auto year = Digits(text, 0, 4);
    const auto month = Digits(text, 5, 2);
    const auto day = Digits(text, 8, 2);
    const auto hour = Digits(text, 11, 2);
    const auto minute = Digits(text, 14, 2);
    if (!year || !month || !day || !hour || !minute)
        return std::nullopt;
    if (*year < 1601 || *month < 1 || *month > 12 || *day < 1 || *day > DaysIn(*year, *month) || *hour > 23 ||
        *minute > 59)
        return std::nullopt;
    platform::LocalTime t;
    t.year = *year;
    t.month = *month;
    t.day = *day;
    t.hour = *hour;
    t.minute = *minute;
    return t;
}

} // namespace util
