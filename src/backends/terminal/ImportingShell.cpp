#include "backends/terminal/ImportingShell.h"

#include "toolkit/Backend.h"
#include "toolkit/Dialog.h"
#include "platform/Exceptions.h"
#include "platform/CaseFold.h"
#include "regstore/RegImport.h"

namespace backends::terminal {

ImportingShell::ImportingShell(regstore::RegistryStore& store, platform::IShell& others, Box box)
    : store_(store), others_(others), box_(std::move(box))
{
}

bool ImportingShell::Imports(const std::string& target)
{
    return platform::HasExtensionNoCase(target, ".reg");
}

ImportingShell::Box ImportingShell::MainWindowBox()
{
    return [](std::string_view text, toolkit::BoxStyle style) {
        toolkit::CWinApp* app = toolkit::AfxGetApp();
        if (!app || !app->m_pMainWnd)
            throw platform::CException("a registry file can be imported only while the program's window is open");
        return app->m_pMainWnd->ShowMessageBox(text, std::nullopt, style);
    };
}

platform::ShellResult ImportingShell::Open(const std::string& target)
{
    if (!Imports(target))
        return others_.Open(target);
    const regstore::RegImportOutcome outcome = ImportRegFile(target, store_, [this](const std::string& question) {
        return box_(question, toolkit::BoxStyle{toolkit::BoxButtons::YesNo, toolkit::BoxIcon::Question}) == toolkit::Answer::Yes;
    });
    if (outcome.status == regstore::RegImportStatus::Imported)
        box_(outcome.message, toolkit::BoxStyle{});
    else if (outcome.status == regstore::RegImportStatus::Failed)
        toolkit::ReportError(outcome.message);
    return {};
}

} // namespace backends::terminal
