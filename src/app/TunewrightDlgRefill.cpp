#include "app/TunewrightDlg.h"

#include "catalogue/FunctionFilter.h"
#include "catalogue/FunctionKeys.h"
#include "util/TextFile.h"

namespace app {

void CTunewrightDlg::RefillFunctionList()
{
    functionList.DeleteAllItems();
    listedFunctions.clear();
    selectedFunction = 0;
    selectionMark = 0;
    previousSelectionMark = 1;

    const std::string folder = power.GetApplicationFolder();
    const std::string path = catalogue::CataloguePath(folder);
    const catalogue::CatalogueBlocks blocks(util::ReadTextFile(path));
    const int count = static_cast<int>(functionNames.size());
    const catalogue::FunctionFilter filter = currentCategory == catalogue::ChangedCategory
                                      ? FilterChanged(blocks, count, catalogue::ReadDefaults(folder), power)
                                      : catalogue::FilterFunctions(blocks.Lines(), count, currentCategory);
    for (const int i : filter.listed) {
        functionList.InsertItem(static_cast<int>(listedFunctions.size()), functionNames[static_cast<std::size_t>(i)]);
        listedFunctions.push_back(i);
    }

    functionList.SetSelectionMark(0);
    categoryBox.SetCurSel(currentCategory);

    if (filter.registryFault)
        ShowRegistryFault(*filter.registryFault);
    if (!filter.defaultsFault.empty())
        toolkit::ReportError(filter.defaultsFault);
    if (!filter.keysWithoutHeader.empty())
        toolkit::ReportError(catalogue::UnjudgedFunctionsMessage(path, filter.keysWithoutHeader));
}

} // namespace app
