#include "util/PowerClass.h"

namespace util {

std::string PowerClass::PadWithZeros(const std::string& text, int width)
{
    if (width <= 0 || text.size() >= static_cast<std::size_t>(width))
        return text;
    return std::string(static_cast<std::size_t>(width) - text.size(), '0') + text;
}

} // namespace util
