// list, get and export: the functions' values as the window shows them, and
// as a registry file.
#include "catalogue/FunctionDefaults.h"
#include "backup/BackupBytes.h"
#include "changes/BackupHistory.h"
#include "changes/ChangeSet.h"
#include "cli/CommandLine.h"
#include "cli/Context.h"
#include "cli/FunctionJson.h"
#include "cli/Texts.h"
#include "platform/ConsoleText.h"
#include "saving/BackupText.h"
#include "saving/SaveKey.h"

namespace cli {

namespace {

// A function's Windows default and whether the registry differs from it;
// nothing where no default is known.
struct DefaultShown {
    std::optional<std::string> text;
    std::optional<bool> changed;
};

DefaultShown ShownDefault(const catalogue::FunctionDefaults& defaults, const Function& function, const FunctionValue& value)
{
    const auto found = defaults.find(function.key);
    if (found == defaults.end() || !value.row || !catalogue::DefaultFitsKind(*value.row, found->second))
        return {};
    // A text in its wide form is never a default, which is in the code page.
    const std::optional<platform::RegValue> held = value.stored ? std::optional(value.stored->value) : std::nullopt;
    return {found->second.text, held != found->second.value};
}

// Reads and prints the functions; one that cannot be read fails them all.
// Where the installation has Windows' defaults, a line of text ends with the
// default and whether the value differs from it.
int Show(Context& context, const Functions& functions, const std::vector<const Function*>& chosen, bool one)
{
    const auto defaults = catalogue::ReadDefaults(context.folder);
    if (!defaults) {
        context.out.Error(platform::Text(text::DefaultsUnreadable, {defaults.Error()}));
        return kFailed;
    }
    const bool withDefaults = catalogue::HasDefaults(context.folder);
    // Written as it goes, laid out as a document of them would be. A
    // function takes some 350 bytes: the room is made once, not by doubling.
    std::string json = one ? "" : "[";
    if (context.out.IsJson())
        json.reserve(chosen.size() * 512);
    std::vector<std::string> lines;
    ReadAheadValues(functions, chosen, context.registry);
    for (const Function* function : chosen) {
        const auto value = ReadFunctionValue(functions, *function, context.translation, context.power);
        if (!value) {
            TellValueFault(context, value.Error());
            return kFailed;
        }
        const DefaultShown shownDefault = ShownDefault(defaults.Value(), *function, value.Value());
        if (context.out.IsJson()) {
            if (!one)
                json += json.size() > 1 ? ",\n  " : "\n  ";
            JsonFields item(json, one ? 0 : 1);
            AppendFunctionJson(item, functions, *function, value.Value());
            item.Text("default", shownDefault.text);
            if (shownDefault.changed)
                item.Boolean("changed", *shownDefault.changed);
            else
                item.Null("changed");
            item.Close();
            continue;
        }
        const std::string shown = value.Value().stored ? ExactUtf8(value.Value(), value.Value().shown) : std::string();
        std::string line = platform::Utf8Text(std::to_string(function->key) + "\t" + function->name + "\t") + shown;
        if (withDefaults) {
            const bool changed = shownDefault.changed.value_or(false);
            line += platform::Utf8Text("\t" + shownDefault.text.value_or(std::string()) + "\t" +
                                 (shownDefault.changed ? std::string(changed ? "differs" : "equal") : std::string()));
        }
        lines.push_back(line);
    }
    if (context.out.IsJson()) {
        if (!one)
            json += json.size() > 1 ? "\n]" : "]";
        context.out.DocumentText(json);
    }
    else
        for (const std::string& line : lines)
            context.out.Utf8Line(line);
    return kDone;
}

// A text, a folder or a file: an owner's name, a user's folder, a path of
// one machine, which a profile for a fleet leaves out unless asked for.
bool NamesMachineOrPerson(const Functions& functions, const Function& function)
{
    const std::optional<catalogue::FunctionBlock> block = functions.Block(function);
    const catalogue::KindRow* row = block ? catalogue::HeaderKind(block->header) : nullptr;
    return row && row->storage == catalogue::ValueStorage::String && !row->controls.radios && !row->controls.number;
}

// The value a function's row in a profile holds, if the function has one.
struct ProfileValue {
    std::optional<backup::FileValue> value;
    std::string fault;  // why the function has none
    bool stores = true; // whether its kind stores a value at all
};

ProfileValue ExportedValue(Context& context, const Functions& functions, const Function& function)
{
    const std::optional<catalogue::FunctionBlock> block = functions.Block(function);
    const catalogue::KindRow* row = block ? catalogue::HeaderKind(block->header) : nullptr;
    if (!row || row->storage == catalogue::ValueStorage::None) {
        const bool hasLine = block && !block->lines.empty();
        return {std::nullopt, platform::Text(text::NoExportableValue, {function.name, hasLine ? block->lines[0] : ""}), false};
    }
    const std::optional<saving::SaveKey> key = saving::ParseSaveKey(block->lines[0]);
    const std::string& name = block->lines[1];
    if (!key || !saving::BackupCanName(*key, name))
        return {std::nullopt, platform::Text(text::NoExportableValue, {function.name, block->lines[0]})};
    // The English name, so that a profile reads the same from every machine.
    const platform::RegKeyPath path = key->KeyPath();
    backup::FileValue v{platform::ShareKey(path), name, std::nullopt,
                        {"; " + std::to_string(function.key) + " " + context.english.Find(function.key).value_or(name)}};
    auto now = changes::HeldNow(context.registry, path, name);
    if (!now)
        return {std::nullopt, platform::Text(text::ValueUnreadable, {name, key->Text(), saving::CauseText(now.Error())})};
    v.value = std::move(now.Value());
    return {std::move(v), {}};
}

} // namespace

const Function* NamedFunction(Context& context, const Functions& functions, const std::string& keyOrName)
{
    const Function* function = functions.Find(keyOrName);
    if (!function)
        context.out.Error(platform::Text(text::UnknownFunction, {keyOrName}));
    return function;
}

void TellValueFault(Context& context, const ValueFault& fault)
{
    context.out.Error(platform::Text(text::ValueUnreadable, {fault.valueName, fault.keyPath, saving::CauseText(fault.error)}));
}

int ListFunctions(Context& context)
{
    const std::optional<Functions> functions = LoadFunctions(context);
    if (!functions)
        return kFailed;
    return Show(context, *functions, functions->InCategory(context.call.category.value_or(0)), false);
}

int GetFunction(Context& context)
{
    const std::optional<Functions> functions = LoadFunctions(context);
    if (!functions)
        return kFailed;
    const Function* function = NamedFunction(context, *functions, context.call.operands[0]);
    if (!function)
        return kFailed;
    return Show(context, *functions, {function}, true);
}

int ExportProfile(Context& context)
{
    const std::optional<Functions> functions = LoadFunctions(context);
    if (!functions)
        return kFailed;
    const bool named = !context.call.operands.empty();
    std::vector<const Function*> chosen;
    for (const std::string& operand : context.call.operands) {
        const Function* function = NamedFunction(context, *functions, operand);
        if (!function)
            return kFailed;
        chosen.push_back(function);
    }
    if (!named)
        chosen = functions->InCategory(context.call.category.value_or(0));

    std::vector<backup::FileValue> values;
    std::string leftOut;
    ReadAheadValues(*functions, chosen, context.registry);
    for (const Function* function : chosen) {
        if (!named && !context.call.all && NamesMachineOrPerson(*functions, *function)) {
            leftOut += (leftOut.empty() ? "" : ", ") + std::to_string(function->key);
            continue;
        }
        ProfileValue exported = ExportedValue(context, *functions, *function);
        if (exported.value) {
            values.push_back(std::move(*exported.value));
            continue;
        }
        // Of all the functions, those that store no value are left out; a
        // value that is there and cannot be read, or one named, fails.
        if (!named && !exported.stores)
            continue;
        context.out.Error(exported.fault);
        return kFailed;
    }
    // In English on every machine, as the rest of a profile.
    std::vector<std::string> closing;
    if (!leftOut.empty())
        closing.push_back("; Left out, as texts, folders and files name one machine or person (name them, or give "
                          "--all): " + leftOut);
    context.out.Bytes(backup::FileBytes(values, {}, backup::Layout::Grouped, closing));
    return kDone;
}

} // namespace cli
