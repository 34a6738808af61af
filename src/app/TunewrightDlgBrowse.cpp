#include "app/TextKeys.h"
#include "app/TunewrightDlg.h"

#include "catalogue/Catalogue.h"
#include "catalogue/FunctionKind.h"
#include "app/FileFilters.h"

namespace app {

// The pickers are modal and owned by this window, so a path picked for one
// function never lands in another's field. Nothing reaches the registry
// until the user saves.
void CTunewrightDlg::OnBrowse()
{
    const catalogue::KindRow* row = catalogue::HeaderKind(header);
    if (!row || row->browse == catalogue::BrowseAction::None)
        return;
    // What the user typed since the last poll survives the exchange below.
    UpdateData(true);
    const std::optional<std::string> picked =
        row->browse == catalogue::BrowseAction::Folder
            ? Window()->BrowseForFolder(T(textkey::FolderBrowserTitle), pathText)
            : Window()->FileOpenDialog({ExtensionFilter(numberText), pathText});
    if (!picked)
        return;
    pathText = *picked;
    UpdateData(false);
}

} // namespace app
