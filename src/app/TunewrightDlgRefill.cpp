#include "app/TunewrightDlg.h"

#include "catalogue/FunctionFilter.h"
#include "catalogue/FunctionKeys.h"
#include "util/TextFile.h"

void CTunewrightDlg::RefillFunctionList()
{
    functionList.DeleteAllItems();
    listedFunctions.clear();
    selectedFunction = 0;
    selectionMark = 0;
    previousSelectionMark = 1;

    const std::string folder = power.GetApplicationFolder();
    const std::string path = CataloguePath(folder);
    const CatalogueBlocks blocks(ReadTextFile(path));
    const int count = static_cast<int>(functionNames.size());
    const FunctionFilter filter = currentCategory == catalogue::ChangedCategory
                                      ? FilterChanged(blocks, count, ReadDefaults(folder), power)
                                      : FilterFunctions(blocks.Lines(), count, currentCategory);
    for (const int i : filter.listed) {
        functionList.InsertItem(static_cast<int>(listedFunctions.size()), functionNames[static_cast<std::size_t>(i)]);
        listedFunctions.push_back(i);
    }

    functionList.SetSelectionMark(0);
    categoryBox.SetCurSel(currentCategory);

    if (filter.registryFault)
        ShowRegistryFault(*filter.registryFault);
    if (!filter.defaultsFault.empty())
        tk::ReportError(filter.defaultsFault);
    if (!filter.keysWithoutHeader.empty())
        tk::ReportError(UnjudgedFunctionsMessage(path, filter.keysWithoutHeader));
}
