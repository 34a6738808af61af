#include "util/PowerClass.h"

#include "platform/Services.h"

std::string PowerClass::GetTimestamp() const
{
    tk::SystemClock systemClock;
    tk::IClock& clock = tk::CurrentServices().clock ? *tk::CurrentServices().clock : systemClock;
    const tk::LocalTime now = clock.Now();
    return std::to_string(now.year) + PadWithZeros(std::to_string(now.month), 2)
         + PadWithZeros(std::to_string(now.day), 2) + PadWithZeros(std::to_string(now.hour), 2)
         + PadWithZeros(std::to_string(now.minute), 2);
}

std::string PowerClass::PadWithZeros(const std::string& text, int width)
{
    if (width <= 0 || text.size() >= static_cast<std::size_t>(width))
        return text;
    return std::string(static_cast<std::size_t>(width) - text.size(), '0') + text;
}
