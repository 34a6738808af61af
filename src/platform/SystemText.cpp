#include "platform/SystemText.h"

#include <cstdio>

namespace tk {

std::string NameCharacters(std::u32string_view characters)
{
    std::string names;
    for (const char32_t ch : characters) {
        char name[16];
        std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(ch));
        names += (names.empty() ? "" : ", ") + std::string(name);
    }
    return names;
}

} // namespace tk
