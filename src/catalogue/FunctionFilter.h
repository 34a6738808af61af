#pragma once
// The category filter over the function list.
#include "catalogue/Catalogue.h"
#include "catalogue/FunctionDefaults.h"
#include "platform/Result.h"
#include "util/PowerClass.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct FunctionFilter {
    std::vector<int> listed;             // function indices the category lists, in order
    std::vector<int> keysWithoutHeader;  // when the header list runs short: the function
                                         // keys that no header line carries
    std::string defaultsFault;           // why the defaults cannot judge, named with their file
    std::optional<tk::RegFault> registryFault; // the registry cannot be read: nothing is listed
};

// Which of `functionCount` functions a category entry lists, judged by the
// catalogue's header list (HeaderList of its lines): the i-th header judges
// function i. Entry 0 lists all and needs no headers; an entry past the last
// one lists none.
FunctionFilter FilterFunctions(std::span<const std::string_view> catalogueLines, int functionCount, int category);

// The entry ChangedCategory: the functions whose registry value, as `power`
// reads it, differs from their Windows default. A function without a
// default, of a kind that stores nothing, or whose value cannot be read is
// not listed.
FunctionFilter FilterChanged(const CatalogueBlocks& catalogue, int functionCount,
                             const tk::Result<FunctionDefaults, std::string>& defaults, PowerClass& power);

// What the user is told when functions lack the header the filter needs.
std::string UnjudgedFunctionsMessage(const std::string& cataloguePath, const std::vector<int>& keys);

// The catalogue file in the application folder.
std::string CataloguePath(const std::string& applicationFolder);
