#include "script/ScriptShell.h"

#include "backends/terminal/ImportingShell.h"
#include "regstore/RegistryStore.h"

namespace {

// Prints the "open" first, so that a script sees the hand-over as before,
// then imports a registry file as the terminal program's shell does.
class ImportingScriptShell final : public tk::IShell {
public:
    ImportingScriptShell(tk::RegistryStore& store, tk::IShell& printing)
        : printing_(printing), importing_(store, printing, tk::ImportingShell::MainWindowBox())
    {
    }
    tk::ShellResult Open(const std::string& target) override
    {
        tk::ShellResult printed = printing_.Open(target);
        if (!printed || !tk::ImportingShell::Imports(target))
            return printed;
        return importing_.Open(target);
    }

private:
    tk::IShell& printing_;
    tk::ImportingShell importing_;
};

} // namespace

std::unique_ptr<tk::IShell> MakeImportingShell(tk::IRegistry& registry, tk::IShell& printing)
{
    // On POSIX the run's registry is the text-file store (runregistry/posix).
    if (auto* store = dynamic_cast<tk::RegistryStore*>(&registry))
        return std::make_unique<ImportingScriptShell>(*store, printing);
    return nullptr;
}
