#include "app/TextKeys.h"
#include "app/TunewrightDlg.h"
#include "catalogue/Catalogue.h"
#include "util/TextFile.h"

#include <filesystem>

std::string CTunewrightDlg::CataloguePath() const
{
    return (std::filesystem::path(power.GetApplicationFolder()) / "0019fct.ini").string();
}

void CTunewrightDlg::RefillFunctionList()
{
    functionList.DeleteAllItems();
    listedFunctions.clear();
    selectedFunction = 0;
    selectionMark = 0;
    previousSelectionMark = 1;

    const std::string path = CataloguePath();
    const std::vector<std::string> headers = HeaderList(ReadTextLines(path));

    std::vector<std::string> unlisted;
    for (int i = 0; i < static_cast<int>(functionNames.size()); ++i) {
        bool listed = currentCategory == 0;
        if (!listed && currentCategory > 0 && currentCategory < textkey::CategoryCount) {
            if (i < static_cast<int>(headers.size()))
                listed = CategoryListsHeader(currentCategory, headers[i]);
            else
                unlisted.push_back(std::to_string(textkey::FunctionKey(i)));
        }
        if (listed) {
            functionList.InsertItem(static_cast<int>(listedFunctions.size()), functionNames[i]);
            listedFunctions.push_back(i);
        }
    }

    functionList.SetSelectionMark(0);
    categoryBox.SetCurSel(currentCategory);

    if (!unlisted.empty()) {
        std::string keys;
        for (const auto& k : unlisted)
            keys += (keys.empty() ? "" : ", ") + k;
        ReportError("\"" + path + "\" has no header line for the function key" + (unlisted.size() > 1 ? "s " : " ") +
                    keys + ", so the filter cannot judge " + (unlisted.size() > 1 ? "them" : "it") +
                    ". Check the catalogue against the translation file.");
    }
}
