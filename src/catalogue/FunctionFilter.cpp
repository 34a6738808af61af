#include "catalogue/FunctionFilter.h"

#include "catalogue/Catalogue.h"
#include "catalogue/FunctionKeys.h"
#include "util/Path.h"

FunctionFilter FilterFunctions(const std::vector<std::string>& headers, int functionCount, int category)
{
    FunctionFilter filter;
    for (int i = 0; i < functionCount; ++i) {
        bool listed = category == 0;
        if (!listed && category > 0 && category < catalogue::CategoryCount) {
            if (i < static_cast<int>(headers.size()))
                listed = CategoryListsHeader(category, headers[static_cast<std::size_t>(i)]);
            else
                filter.unjudgedKeys.push_back(catalogue::FunctionKey(i));
        }
        if (listed)
            filter.listed.push_back(i);
    }
    return filter;
}

std::string UnjudgedFunctionsMessage(const std::string& cataloguePath, const std::vector<int>& keys)
{
    std::string list;
    for (const int key : keys)
        list += (list.empty() ? "" : ", ") + std::to_string(key);
    const bool several = keys.size() > 1;
    return "\"" + cataloguePath + "\" has no header line for the function key" + (several ? "s " : " ") + list +
           ", so the filter cannot judge " + (several ? "them" : "it") +
           ". Check the catalogue against the translation file.";
}

std::string CataloguePath(const std::string& applicationFolder)
{
    return JoinPath(applicationFolder, "0019fct.ini");
}
