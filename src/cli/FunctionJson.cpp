#include "cli/FunctionJson.h"

#include "regfile/RegValueLine.h"
#include "saving/NewValue.h"

namespace cli {

namespace {

void NeutralValue(JsonFields& item, const FunctionValue& value)
{
    const catalogue::KindRow& row = *value.row;
    const catalogue::PanelValue& panel = value.panel;
    if (row.controls.radios)
        return item.Utf8("value", panel.switchIndex == 1 ? "on" : "off");
    const std::string text = (row.controls.number ? panel.numberText : panel.pathText).value_or(std::string());
    if (row.controls.number) {
        // A string number that is no number stays the text it is.
        if (const std::optional<std::int64_t> number = saving::ParseTypedNumber(text, row.storage))
            return item.Number("value", *number);
    }
    item.Utf8("value", ExactUtf8(value, text));
}

} // namespace

void AppendFunctionJson(JsonFields& item, const Functions& functions, const Function& function,
                        const FunctionValue& value)
{
    item.Number("key", function.key);
    item.Text("name", function.name);
    if (value.block)
        item.Number("kind", util::PowerClass::DecimalToInt(value.block->header.substr(0, 2)));
    else
        item.Null("kind");
    if (const std::optional<int> category = functions.GroupCategory(function))
        item.Number("category", *category);
    else
        item.Null("category");
    const bool stores = value.row && value.row->storage != catalogue::ValueStorage::None;
    std::optional<std::string> path;
    if (stores)
        path = KeyPathText(value.panel.keyPath);
    else if (value.row && !value.block->lines.empty())
        path = value.block->lines[0]; // the target to open
    item.Text("path", path);
    item.Text("value_name", stores ? value.panel.valueName : std::nullopt);
    const bool held = stores && value.stored;
    if (held) {
        NeutralValue(item, value);
        item.Text("data", regfile::ValueDataText(value.stored));
        item.Utf8("shown", ExactUtf8(value, value.shown));
        item.Utf8("type", TypeName(value.stored->value.type));
    } else {
        item.Null("value");
        item.Null("data");
        item.Null("shown");
        item.Null("type");
    }
}

} // namespace cli
