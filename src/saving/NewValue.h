#pragma once
// The value that saving writes, from the panel's controls and the kind's row.
#include "catalogue/FunctionKind.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace saving {

// A REG_SZ text or a REG_DWORD (its 32-bit pattern as a signed number).
using NewValue = std::variant<std::string, std::int32_t>;

struct PanelInput {
    int switchIndex = -1;   // 1: the second radio button, "on"
    std::string numberText;
    std::string pathText;
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
};

// A typed number: an optional '-' and decimal digits only, no blanks, and
// within 32 bits: -2147483648 to 4294967295 for a REG_DWORD (so the -1 shown
// for 0xFFFFFFFF saves back as it), to 2147483647 for a REG_SZ.
std::optional<std::int64_t> ParseTypedNumber(const std::string& text, catalogue::ValueStorage storage);

// The value to write; empty when a number is refused (not a number, or
// outside the kind's bounds). A row that stores nothing has no value either.
std::optional<NewValue> NewValueOf(const catalogue::KindRow& row, const PanelInput& input);

// Whether `now` holds another value than `shown` in the control that carries
// the kind's value: the radio pair, the number field or the path field. A row
// that stores nothing never differs.
bool PanelDiffers(const catalogue::KindRow& row, const PanelInput& shown, const PanelInput& now);

} // namespace saving
