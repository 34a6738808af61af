#pragma once
// The shell of the terminal program. A registry file (".reg" in any letter
// case) is imported into the registry store in-process, as Windows hands one
// to the registry editor: the user is asked first and told the outcome.
// Everything else goes to the desktop's own opener.
#include "toolkit/DialogWindow.h"
#include "platform/Services.h"

#include <functional>
#include <string>
#include <string_view>

namespace regstore { class RegistryStore; }

namespace backends::terminal {

class ImportingShell final : public platform::IShell {
public:
    // A message box owned by the program's window.
    using Box = std::function<toolkit::Answer(std::string_view text, toolkit::BoxStyle style)>;

    ImportingShell(regstore::RegistryStore& store, IShell& others, Box box);
    // A registry file is handed to the importer, which tells the user what
    // came of it, as the registry editor does: that never fails here.
    platform::ShellResult Open(const std::string& target) override;

    // Whether `target` is a registry file, which this shell imports.
    static bool Imports(const std::string& target);
    // A message box owned by the program's main window.
    static Box MainWindowBox();

private:
    regstore::RegistryStore& store_;
    platform::IShell& others_;
    Box box_;
};

} // namespace backends::terminal
