#include "toolkit/Registry.h"

namespace tk {

RegValue RegValue::String(std::string_view text)
{
    RegValue v;
    v.type = RegType::Sz;
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

Result<ExactRegValue, RegError> IRegistry::QueryExactValue(RegRoot root, std::string_view subKey,
                                                           std::string_view name)
{
    auto value = QueryValue(root, subKey, name);
    if (!value)
        return value.Error();
    return ExactRegValue{std::move(value.Value()), false};
}

} // namespace tk
