#include "catalogue/FunctionFilter.h"

#include "catalogue/Catalogue.h"
#include "catalogue/FunctionKeys.h"
#include "catalogue/Texts.h"
#include "util/Path.h"

FunctionFilter FilterFunctions(const std::vector<std::string>& catalogueLines, int functionCount, int category)
{
    FunctionFilter filter;
    const bool judged = category > 0 && category < catalogue::CategoryCount;
    const std::vector<std::string> headers = judged ? HeaderList(catalogueLines) : std::vector<std::string>();
    for (int i = 0; i < functionCount; ++i) {
        const bool listed = category == 0 || (judged && i < static_cast<int>(headers.size()) &&
                                              CategoryListsHeader(category, headers[static_cast<std::size_t>(i)]));
        if (listed)
            filter.listed.push_back(i);
    }
    // The header list runs short where a header line is missing or too short
    // to count, not at its end: name the keys that lack one.
    if (judged && static_cast<int>(headers.size()) < functionCount)
        filter.keysWithoutHeader = KeysWithoutHeader(catalogueLines, functionCount);
    return filter;
}

std::string UnjudgedFunctionsMessage(const std::string& cataloguePath, const std::vector<int>& keys)
{
    std::string list;
    for (const int key : keys)
        list += (list.empty() ? "" : ", ") + std::to_string(key);
    return tk::Text(keys.size() > 1 ? text::KeysWithoutHeader : text::KeyWithoutHeader, {cataloguePath, list});
}

std::string CataloguePath(const std::string& applicationFolder)
{
    return JoinPath(applicationFolder, "0019fct.ini");
}
