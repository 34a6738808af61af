// The driver on POSIX: the registry is the text-file store, at the named
// file, else at $TUNEWRIGHT_REGISTRY, else beside the program. It writes each
// change as it happens, and is left to the process end (see ForProcess).
#include "script/ScriptPlatform.h"

#include "backends/terminal/ImportingShell.h"
#include "regstore/RegistryPath.h"
#include "regstore/RegistryStore.h"

#include <optional>

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

class StoreRegistry final : public ScriptRegistry {
public:
    explicit StoreRegistry(const std::string& path) : store_(tk::RegistryStore::ForProcess(path)) {}
    tk::IRegistry& Registry() override { return store_; }
    void Finish() override {}
    tk::IShell& Shell(tk::IShell& printing) override { return shell_.emplace(store_, printing); }

private:
    tk::RegistryStore& store_;
    std::optional<ImportingScriptShell> shell_;
};

} // namespace

std::unique_ptr<ScriptRegistry> OpenScriptRegistry(const std::string& file, const std::string& appFolder)
{
    return std::make_unique<StoreRegistry>(file.empty() ? tk::DefaultRegistryPath(appFolder) : file);
}

void UseBinaryStandardStreams() {}
