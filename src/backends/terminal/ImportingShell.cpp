#include "backends/terminal/ImportingShell.h"

#include "toolkit/Backend.h"
#include "toolkit/Dialog.h"
#include "platform/Exceptions.h"
#include "platform/CaseFold.h"
#include "regstore/RegImport.h"

namespace tk {

ImportingShell::ImportingShell(RegistryStore& store, IShell& others, Box box)
    : store_(store), others_(others), box_(std::move(box))
{
}

bool ImportingShell::Imports(const std::string& target)
{
    return HasExtensionNoCase(target, ".reg");
}

ImportingShell::Box ImportingShell::MainWindowBox()
{
    return [](std::string_view text, BoxStyle style) {
        CWinApp* app = AfxGetApp();
        if (!app || !app->m_pMainWnd)
            throw CException("a registry file can be imported only while the program's window is open");
        return app->m_pMainWnd->ShowMessageBox(text, std::nullopt, style);
    };
}

ShellResult ImportingShell::Open(const std::string& target)
{
    if (!Imports(target))
        return others_.Open(target);
    const RegImportOutcome outcome = ImportRegFile(target, store_, [this](const std::string& question) {
        return box_(question, BoxStyle{BoxButtons::YesNo, BoxIcon::Question}) == Answer::Yes;
    });
    if (outcome.status == RegImportStatus::Imported)
        box_(outcome.message, BoxStyle{});
    else if (outcome.status == RegImportStatus::Failed)
        ReportError(outcome.message);
    return {};
}

} // namespace tk
