#include "cli/FunctionJson.h"

#include "regfile/RegValueLine.h"
#include "saving/NewValue.h"

#include <nlohmann/json.hpp>

namespace cli {

namespace {

Json NeutralValue(const FunctionValue& value)
{
    const KindRow& row = *value.row;
    const PanelValue& panel = value.panel;
    if (row.controls.radios)
        return panel.switchIndex == 1 ? "on" : "off";
    const std::string text = (row.controls.number ? panel.numberText : panel.pathText).value_or(std::string());
    if (row.controls.number) {
        // A string number that is no number stays the text it is.
        if (const std::optional<std::int64_t> number = ParseTypedNumber(text, row.storage))
            return *number;
    }
    return ExactUtf8(value, text);
}

} // namespace

Json FunctionJson(const Functions& functions, const Function& function, const FunctionValue& value)
{
    Json item;
    item["key"] = function.key;
    item["name"] = JsonText(function.name);
    item["kind"] = value.block ? Json(PowerClass::DecimalToInt(value.block->header.substr(0, 2))) : Json();
    const std::optional<int> category = functions.GroupCategory(function);
    item["category"] = category ? Json(*category) : Json();
    const bool stores = value.row && value.row->storage != ValueStorage::None;
    std::optional<std::string> path;
    if (stores)
        path = KeyPathText(value.panel.keyPath);
    else if (value.row && !value.block->lines.empty())
        path = value.block->lines[0]; // the target to open
    item["path"] = JsonText(path);
    item["value_name"] = JsonText(stores ? value.panel.valueName : std::nullopt);
    const bool held = stores && value.stored;
    item["value"] = held ? NeutralValue(value) : Json();
    item["data"] = JsonText(held ? tk::ValueDataText(value.stored) : std::nullopt);
    item["shown"] = held ? Json(ExactUtf8(value, value.shown)) : Json();
    item["type"] = held ? Json(TypeName(value.stored->value.type)) : Json();
    return item;
}

} // namespace cli
