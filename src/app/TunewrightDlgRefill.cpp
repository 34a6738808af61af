#include "app/TunewrightDlg.h"

#include "catalogue/FunctionFilter.h"
#include "util/TextFile.h"

void CTunewrightDlg::RefillFunctionList()
{
    functionList.DeleteAllItems();
    listedFunctions.clear();
    selectedFunction = 0;
    selectionMark = 0;
    previousSelectionMark = 1;

    const std::string path = CataloguePath(power.GetApplicationFolder());
    const FunctionFilter filter =
        FilterFunctions(ReadTextLines(path), static_cast<int>(functionNames.size()), currentCategory);
    for (const int i : filter.listed) {
        functionList.InsertItem(static_cast<int>(listedFunctions.size()), functionNames[static_cast<std::size_t>(i)]);
        listedFunctions.push_back(i);
    }

    functionList.SetSelectionMark(0);
    categoryBox.SetCurSel(currentCategory);

    if (!filter.keysWithoutHeader.empty())
        tk::ReportError(UnjudgedFunctionsMessage(path, filter.keysWithoutHeader));
}
