#include "util/PowerClass.h"

#include "platform/Services.h"
#include "util/Minute.h"

std::string PowerClass::GetTimestamp() const
{
    tk::SystemClock systemClock;
    tk::IClock& clock = tk::CurrentServices().clock ? *tk::CurrentServices().clock : systemClock;
    return MinuteStamp(clock.Now());
}

std::string PowerClass::PadWithZeros(const std::string& text, int width)
{
    if (width <= 0 || text.size() >= static_cast<std::size_t>(width))
        return text;
    return std::string(static_cast<std::size_t>(width) - text.size(), '0') + text;
}
