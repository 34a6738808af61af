#include "toolkit/Registry.h"

namespace tk {

RegValue RegValue::String(std::string_view text)
{
    RegValue v;
    v.type = RegType::Sz;
    v.data.reserve(text.size() + 1);
    v.data.assign(text.begin(), text.end());
    v.data.push_back(0);
    return v;
}

RegValue RegValue::Dword(std::uint32_t value)
{
    RegValue v;
    v.type = RegType::Dword;
    for (int i = 0; i < 4; ++i)
        v.data.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    return v;
}

} // namespace tk
