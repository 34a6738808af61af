#pragma once
// The category filter over the function list.
#include <string>
#include <vector>

struct FunctionFilter {
    std::vector<int> listed;             // function indices the category lists, in order
    std::vector<int> keysWithoutHeader;  // when the header list runs short: the function
                                         // keys that no header line carries
};

// Which of `functionCount` functions a category entry lists, judged by the
// catalogue's header list (HeaderList of its lines): the i-th header judges
// function i. Entry 0 lists all and needs no headers; an entry past the last
// one lists none.
FunctionFilter FilterFunctions(const std::vector<std::string>& catalogueLines, int functionCount, int category);

// What the user is told when functions lack the header the filter needs.
std::string UnjudgedFunctionsMessage(const std::string& cataloguePath, const std::vector<int>& keys);

// The catalogue file in the application folder.
std::string CataloguePath(const std::string& applicationFolder);
