#pragma once
// What the option panel shows of a function, apart from its texts and
// controls: the value the registry holds for it.
#include "catalogue/FunctionKind.h"
#include "util/PowerClass.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace catalogue {

// The panel state that reading a function's value sets. What a kind leaves
// alone is empty: the panel keeps what it held there.
struct PanelValue {
    std::string keyPath;
    std::optional<std::string> valueName;
    std::optional<std::string> currentValue;
    std::optional<int> switchIndex;
    std::optional<std::string> numberText;
    std::optional<std::string> pathText;
    std::optional<std::int32_t> minimum;
    std::optional<std::int32_t> maximum;
    // The registry could not be read: the value is the fixed one in its place.
    std::optional<platform::RegFault> fault;
};

// Reads the value of a function of the kind `row` from its block lines (as
// many as the kind needs) through `power`, whose current key path it sets.
PanelValue ReadPanelValue(const KindRow& row, const std::vector<std::string>& lines, util::PowerClass& power);
// The same from the value read already under the function's key path
// (PowerClass::ReadRawValue).
PanelValue PanelValueOf(const KindRow& row, const std::vector<std::string>& lines, util::PowerClass& power,
                        const platform::Result<platform::RegValue, platform::RegFault>& raw);

// The value as the panel shows it once `value` is read for a kind that stores
// one: a switch by the caption of its checked radio button (`textOf` gives
// the text of a translation key; its mnemonic marks are not shown), a number
// or a path by its field's text.
std::string PanelValueText(const KindRow& row, const PanelValue& value, const std::function<std::string(int key)>& textOf);

} // namespace catalogue
