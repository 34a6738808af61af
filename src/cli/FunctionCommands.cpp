// list, get and export: the functions' values as the window shows them, and
// as a registry file.
#include "changes/BackupHistory.h"
#include "changes/ChangeSet.h"
#include "changes/RegFileText.h"
#include "cli/CommandLine.h"
#include "cli/Context.h"
#include "cli/FunctionJson.h"
#include "cli/Texts.h"
#include "saving/BackupText.h"
#include "saving/SaveKey.h"

#include <nlohmann/json.hpp>

namespace cli {

namespace {

// Reads and prints the functions; one that cannot be read fails them all.
int Show(Context& context, const Functions& functions, const std::vector<const Function*>& chosen, bool one)
{
    Json items = Json::array();
    std::vector<std::string> lines;
    for (const Function* function : chosen) {
        const auto value = ReadFunctionValue(functions, *function, context.translation, context.power);
        if (!value) {
            TellValueFault(context, value.Error());
            return kFailed;
        }
        items.push_back(FunctionJson(functions, *function, value.Value()));
        const std::string shown = value.Value().stored ? value.Value().shown : std::string();
        lines.push_back(std::to_string(function->key) + "\t" + function->name + "\t" + shown);
    }
    if (context.out.IsJson())
        context.out.Document(one ? items.at(0) : items);
    else
        for (const std::string& line : lines)
            context.out.Line(line);
    return kDone;
}

// A text, a folder or a file: an owner's name, a user's folder, a path of
// one machine, which a profile for a fleet leaves out unless asked for.
bool NamesMachineOrPerson(const Functions& functions, const Function& function)
{
    const std::optional<FunctionBlock> block = functions.Block(function);
    const KindRow* row = block ? HeaderKind(block->header) : nullptr;
    return row && row->storage == ValueStorage::String && !row->controls.radios && !row->controls.number;
}

// The value a function's row in a profile holds, if the function has one.
struct ProfileValue {
    std::optional<FileValue> value;
    std::string fault;  // why the function has none
    bool stores = true; // whether its kind stores a value at all
};

ProfileValue ExportedValue(Context& context, const Functions& functions, const Function& function)
{
    const std::optional<FunctionBlock> block = functions.Block(function);
    const KindRow* row = block ? HeaderKind(block->header) : nullptr;
    if (!row || row->storage == ValueStorage::None) {
        const bool hasLine = block && !block->lines.empty();
        return {std::nullopt, tk::Text(text::NoExportableValue, {function.name, hasLine ? block->lines[0] : ""}), false};
    }
    const std::optional<SaveKey> key = ParseSaveKey(block->lines[0]);
    const std::string& name = block->lines[1];
    if (!key || !BackupCanName(*key, name))
        return {std::nullopt, tk::Text(text::NoExportableValue, {function.name, block->lines[0]})};
    tk::RegKeyPath path{key->root, {}};
    for (const std::string& part : key->names)
        path.subKey += (path.subKey.empty() ? "" : "\\") + part;
    // The English name, so that a profile reads the same from every machine.
    FileValue v{path, name, std::nullopt,
                {"; " + std::to_string(function.key) + " " + context.english.Find(function.key).value_or(name)}};
    auto now = HeldNow(context.registry, path, name);
    if (!now)
        return {std::nullopt, tk::Text(text::ValueUnreadable, {name, key->Text(), CauseText(now.Error())})};
    v.value = std::move(now.Value());
    return {std::move(v), {}};
}

} // namespace

const Function* NamedFunction(Context& context, const Functions& functions, const std::string& keyOrName)
{
    const Function* function = functions.Find(keyOrName);
    if (!function)
        context.out.Error(tk::Text(text::UnknownFunction, {keyOrName}));
    return function;
}

void TellValueFault(Context& context, const ValueFault& fault)
{
    context.out.Error(tk::Text(text::ValueUnreadable, {fault.valueName, fault.keyPath, CauseText(fault.error)}));
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

    std::vector<FileValue> values;
    std::string leftOut;
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
    context.out.Bytes(RegFileBytesOf(values, closing));
    return kDone;
}

} // namespace cli
