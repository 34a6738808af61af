#include "backends/terminal/ImportingShell.h"

#include "toolkit/Backend.h"
#include "platform/CaseFold.h"
#include "regstore/RegImport.h"

namespace tk {

ImportingShell::ImportingShell(RegistryStore& store, IShell& others, Box box)
    : store_(store), others_(others), box_(std::move(box))
{
}

void ImportingShell::Open(const std::string& target)
{
    const std::string_view extension = ".reg";
    if (target.size() <= extension.size() ||
        !EqualNoCase(std::string_view(target).substr(target.size() - extension.size()), extension)) {
        others_.Open(target);
        return;
    }
    const RegImportOutcome outcome = ImportRegFile(target, store_, [this](const std::string& question) {
        return box_(question, BoxStyle{BoxButtons::YesNo, BoxIcon::Question}) == Answer::Yes;
    });
    if (outcome.status == RegImportStatus::Imported)
        box_(outcome.message, BoxStyle{});
    else if (outcome.status == RegImportStatus::Failed)
        ReportError(outcome.message);
}

} // namespace tk
