#include "script/ScriptShell.h"

#include "backends/terminal/ImportingShell.h"
#include "regstore/RegistryStore.h"

namespace tools {

namespace {

// Prints the "open" first, so that a script sees the hand-over as before,
// then imports a registry file as the terminal program's shell does.
class ImportingScriptShell final : public platform::IShell {
public:
    ImportingScriptShell(regstore::RegistryStore& store, platform::IShell& printing)
        : printing_(printing), importing_(store, printing, backends::terminal::ImportingShell::MainWindowBox())
    {
    }
    platform::ShellResult Open(const std::string& target) override
    {
        platform::ShellResult printed = printing_.Open(target);
        if (!printed || !backends::terminal::ImportingShell::Imports(target))
            return printed;
        return importing_.Open(target);
    }

private:
    platform::IShell& printing_;
    backends::terminal::ImportingShell importing_;
};

} // namespace

std::unique_ptr<platform::IShell> MakeImportingShell(platform::IRegistry& registry, platform::IShell& printing)
{
    // On POSIX the run's registry is the text-file store (runregistry/posix).
    if (auto* store = dynamic_cast<regstore::RegistryStore*>(&registry))
        return std::make_unique<ImportingScriptShell>(*store, printing);
    return nullptr;
}

} // namespace tools
