#include "app/TunewrightDlg.h"

#include "app/find/FindDlg.h"
#include "app/find/FunctionSearch.h"
#include "catalogue/FunctionKeys.h"

#include <algorithm>

namespace app {

// The list follows the box while it is open; the poll shows each function
// the box selects, as it shows one the user clicks.
void CTunewrightDlg::OnFind()
{
    OpenFindBox(false);
}

// F3 in the main window goes on with the last text; without one, or when no
// function has it, the box opens and says so.
void CTunewrightDlg::OnFindNext()
{
    if (!findText.empty() && FindFunction(findText, true))
        return;
    OpenFindBox(!findText.empty());
}

void CTunewrightDlg::OpenFindBox(bool searchAtOnce)
{
    CFindDlg box(findText, [this](const std::string& text, bool next) { return FindFunction(text, next); },
                 searchAtOnce);
    box.DoModal();
}

bool CTunewrightDlg::FindFunction(const std::string& text, bool next)
{
    std::vector<SearchedFunction> functions;
    functions.reserve(functionNames.size());
    // A function without an info text has none to search, not the stand-in
    // that a missing key shows.
    for (std::size_t i = 0; i < functionNames.size(); ++i) {
        const int infoKey = catalogue::FunctionKey(static_cast<int>(i)) + 2;
        functions.push_back({functionNames[i], translation.Find(infoKey).value_or(std::string())});
    }

    int from = 0;
    const int mark = functionList.GetSelectionMark();
    if (next && mark >= 0 && mark < static_cast<int>(listedFunctions.size()))
        from = listedFunctions[static_cast<std::size_t>(mark)] + 1;
    const std::optional<int> found = app::FindFunction(functions, text, from);
    if (!found)
        return false;

    auto row = std::find(listedFunctions.begin(), listedFunctions.end(), *found);
    if (row == listedFunctions.end()) {
        // The category filter hides it: back to all functions, which the
        // next poll must not take for a change of its own.
        currentCategory = 0;
        previousCategory = 0;
        RefillFunctionList();
        row = std::find(listedFunctions.begin(), listedFunctions.end(), *found);
        if (row == listedFunctions.end())
            return false;
    }
    functionList.SelectItem(static_cast<int>(row - listedFunctions.begin()));
    return true;
}

} // namespace app
