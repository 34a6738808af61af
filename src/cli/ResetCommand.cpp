// reset: Windows' own defaults put back, as apply puts a profile's values:
// planned against the registry, behind one backup, as one change.
#include "catalogue/FunctionDefaults.h"
#include "cli/CommandLine.h"
#include "cli/Context.h"
#include "cli/Texts.h"
#include "saving/BackupText.h"
#include "saving/SaveKey.h"

namespace cli {

namespace {

// The backup's name says what the change was for.
std::string ResetChangeName(const std::vector<const Function*>& reset)
{
    return reset.size() == 1 ? "reset " + reset[0]->name : "reset to Windows defaults";
}

// The change that puts the default of a function back; none, which is told,
// when the function cannot take it.
std::optional<platform::RegValueChange> DefaultChange(Context& context, const Functions& functions,
                                                      const Function& function, const catalogue::WindowsDefault& windowsDefault)
{
    const std::optional<catalogue::FunctionBlock> block = functions.Block(function);
    const catalogue::KindRow* row = block ? catalogue::HeaderKind(block->header) : nullptr;
    if (!row || !catalogue::DefaultFitsKind(*row, windowsDefault)) {
        context.out.Error(platform::Text(text::DefaultMisfits, {catalogue::DefaultsPath(context.folder), function.name}));
        return std::nullopt;
    }
    const std::optional<saving::SaveKey> key = saving::ParseSaveKey(block->lines[0]);
    const std::string& name = block->lines[1];
    if (!key || !saving::BackupCanName(*key, name)) {
        context.out.Error(platform::Text(text::NothingChanged,
                                         {platform::Text(text::NoExportableValue, {function.name, block->lines[0]})}));
        return std::nullopt;
    }
    return platform::RegValueChange{platform::ShareKey(key->KeyPath()), name, windowsDefault.value, false};
}

} // namespace

int ResetFunctions(Context& context)
{
    const std::optional<Functions> functions = LoadFunctions(context);
    if (!functions)
        return kFailed;
    const auto defaults = catalogue::ReadDefaults(context.folder);
    if (!defaults) {
        context.out.Error(platform::Text(text::NothingChanged, {defaults.Error()}));
        return kFailed;
    }
    std::vector<const Function*> chosen;
    if (context.call.all) {
        // Those without a known default keep their values.
        for (const Function& function : functions->All())
            if (defaults.Value().contains(function.key))
                chosen.push_back(&function);
    }
    for (const std::string& operand : context.call.operands) {
        const Function* function = NamedFunction(context, *functions, operand);
        if (!function)
            return kFailed;
        if (!defaults.Value().contains(function->key)) {
            context.out.Error(platform::Text(text::NoDefault, {function->name}));
            return kFailed;
        }
        chosen.push_back(function);
    }
    changes::ChangeSet changes;
    for (const Function* function : chosen) {
        auto change = DefaultChange(context, *functions, *function, defaults.Value().at(function->key));
        if (!change)
            return kFailed;
        changes.values.push_back(std::move(*change));
    }
    return CarryOut(context, changes, ResetChangeName(chosen), context.call.check);
}

} // namespace cli
