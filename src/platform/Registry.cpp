#include "platform/Registry.h"

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
    v.data = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
              static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
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

void IRegistry::Exclusively(const std::function<void()>& work)
{
    work();
}

} // namespace tk
