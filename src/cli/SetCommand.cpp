// set: what Save in the window does for one function, from the same request.
#include "cli/CommandLine.h"
#include "cli/Context.h"
#include "cli/Texts.h"
#include "platform/CaseFold.h"
#include "saving/Saving.h"

#include <nlohmann/json.hpp>

#include <array>
#include <functional>

namespace cli {

namespace {

// The radio button a switch's value checks: 1 for "on", 0 for "off". A
// switch takes what get shows of it too, the radio button's caption, in the
// installation's language or in English.
std::optional<int> SwitchIndex(Context& context, const catalogue::KindRow& row, const std::string& value)
{
    static constexpr std::array<std::pair<std::string_view, int>, 4> kWords{
        {{"on", 1}, {"1", 1}, {"off", 0}, {"0", 0}}};
    for (const auto& [word, index] : kWords)
        if (platform::EqualNoCase(value, word))
            return index;
    for (const int index : {0, 1}) {
        catalogue::PanelValue checked;
        checked.switchIndex = index;
        const auto shown = [&](const std::function<std::string(int)>& textOf) {
            return platform::EqualNoCase(value, catalogue::PanelValueText(row, checked, textOf));
        };
        if (shown([&context](int key) { return context.translation.Lookup(key); }) ||
            shown([&context](int key) { return context.english.Find(key).value_or("#" + std::to_string(key)); }))
            return index;
    }
    return std::nullopt;
}

// Whether the registry holds what saving would write, type and bytes (a text
// in its wide form never is).
bool Holds(const std::optional<platform::ExactRegValue>& stored, const std::optional<saving::NewValue>& written)
{
    if (!stored || !written)
        return false;
    if (const auto* text = std::get_if<std::string>(&*written))
        return stored->value == platform::RegValue::String(*text);
    return stored->value == platform::RegValue::Dword(static_cast<std::uint32_t>(std::get<std::int32_t>(*written)));
}

} // namespace

int SetFunction(Context& context)
{
    const std::optional<Functions> functions = LoadFunctions(context);
    if (!functions)
        return kFailed;
    const std::string& wanted = context.call.operands[0];
    const std::string& typed = context.call.operands[1];
    const Function* function = NamedFunction(context, *functions, wanted);
    if (!function)
        return kFailed;
    const auto read = ReadFunctionValue(*functions, *function, context.translation, context.power);
    if (!read) {
        TellValueFault(context, read.Error());
        return kFailed;
    }
    const FunctionValue& value = read.Value();
    if (!value.row) {
        context.out.Error(saving::NothingToSaveMessage(function->name, value.block ? value.block->header : std::string()));
        return kFailed;
    }
    if (value.row->storage == catalogue::ValueStorage::None) {
        context.out.Error(platform::Text(text::TargetHasNoValue, {function->name}));
        return kFailed;
    }

    saving::PanelInput input{-1, value.panel.numberText.value_or(std::string()), std::string(),
                             value.panel.minimum.value_or(0), value.panel.maximum.value_or(0)};
    if (value.row->controls.radios) {
        const std::optional<int> index = SwitchIndex(context, *value.row, typed);
        if (!index) {
            context.out.Error(platform::Text(text::NotASwitchValue, {typed, function->name}));
            return kFailed;
        }
        input.switchIndex = *index;
    } else if (value.row->controls.number) {
        input.numberText = typed;
    } else {
        input.pathText = typed;
    }
    // As Save in the window: a value already held is no change, and no backup.
    if (Holds(value.stored, saving::NewValueOf(*value.row, input))) {
        if (context.out.IsJson())
            context.out.Document({{"key", function->key}, {"name", JsonText(function->name)}, {"backup", nullptr}});
        else
            context.out.Line(platform::Text(text::NothingToChange));
        return kDone;
    }
    const saving::SaveRequest request{*value.row,    value.panel.keyPath, *value.panel.valueName,  input,
                                      function->name, function->key,       context.power.GetApplicationFolder()};
    const saving::SaveOutcome outcome = SaveNewValue(request, context.power);
    switch (outcome.result) {
    case saving::SaveResult::Refused:
        context.out.Error(context.translation.Lookup(function->key + 1));
        return kFailed;
    case saving::SaveResult::NotWritten:
        context.out.Error(outcome.message);
        return kFailed;
    case saving::SaveResult::BackupNotWritten:
        context.out.Error(platform::Text(text::NothingChanged, {outcome.message}));
        return kFailed;
    case saving::SaveResult::Saved:
        break;
    }
    const std::string backup = util::FileNameOf(outcome.backupPath);
    if (context.out.IsJson())
        context.out.Document({{"key", function->key}, {"name", JsonText(function->name)}, {"backup", JsonText(backup)}});
    else
        context.out.Line(backup);
    return kDone;
}

} // namespace cli
