#include "saving/NewValue.h"

namespace saving {

namespace {

constexpr std::int64_t kLowest = -2147483648LL;
constexpr std::int64_t kHighestDword = 4294967295LL;
constexpr std::int64_t kHighestSigned = 2147483647LL;

std::optional<NewValue> SwitchValue(const catalogue::KindRow& row, bool on)
{
    const catalogue::SwitchValues& s = row.switchValues;
    if (row.storage == catalogue::ValueStorage::Dword)
        return NewValue(static_cast<std::int32_t>(on ? s.onNumber : s.offNumber));
    return NewValue(std::string(on ? s.onText : s.offText));
}

std::optional<NewValue> NumberValue(const catalogue::KindRow& row, const PanelInput& input)
{
    const std::optional<std::int64_t> n = ParseTypedNumber(input.numberText, row.storage);
    if (!n || (row.bounds && (*n < input.minimum || *n > input.maximum)))
        return std::nullopt;
    if (row.storage == catalogue::ValueStorage::Dword)
        return NewValue(static_cast<std::int32_t>(static_cast<std::uint32_t>(*n)));
    return NewValue(input.numberText);
}

} // namespace

std::optional<std::int64_t> ParseTypedNumber(const std::string& text, catalogue::ValueStorage storage)
{
    const bool negative = !text.empty() && text[0] == '-';
    const std::size_t first = negative ? 1 : 0;
    if (first == text.size())
        return std::nullopt;
    std::int64_t n = 0;
    for (std::size_t i = first; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        n = n * 10 + (text[i] - '0');
        // Past every limit: stop before the 64 bits could overflow.
        if (n > kHighestDword + 1)
            return std::nullopt;
    }
    if (negative)
        n = -n;
    const std::int64_t highest = storage == catalogue::ValueStorage::Dword ? kHighestDword : kHighestSigned;
    if (n < kLowest || n > highest)
        return std::nullopt;
    return n;
}

std::optional<NewValue> NewValueOf(const catalogue::KindRow& row, const PanelInput& input)
{
    if (row.storage == catalogue::ValueStorage::None)
        return std::nullopt;
    if (row.controls.radios)
        return SwitchValue(row, input.switchIndex == 1);
    if (row.controls.number)
        return NumberValue(row, input);
    return NewValue(input.pathText);
}

bool PanelDiffers(const catalogue::KindRow& row, const PanelInput& shown, const PanelInput& now)
{
    if (row.storage == catalogue::ValueStorage::None)
        return false;
    if (row.controls.radios)
        return shown.switchIndex != now.switchIndex;
    if (row.controls.number)
        return shown.numberText != now.numberText;
    return shown.pathText != now.pathText;
}

} // namespace saving
