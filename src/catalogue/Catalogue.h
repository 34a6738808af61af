#pragma once
// Reading the function catalogue: numbered lines "KKKKK value", one header
// line per function (its key is the function key) followed by the block lines
// of its kind. Nothing here opens files; callers pass the file's lines.
#include "util/TextFile.h"

#include <string>
#include <vector>

// Header values in file order, as the category filter counts them: every line
// of nine or more characters whose fifth character is "0".
std::vector<std::string> HeaderList(const std::vector<std::string>& lines);

// The first `functionCount` function keys that no line counted by HeaderList
// carries in its first five characters, in key order.
std::vector<int> KeysWithoutHeader(const std::vector<std::string>& lines, int functionCount);

struct FunctionBlock {
    std::string header;              // the header line's value
    std::vector<std::string> lines;  // block line values, as many as the kind needs;
                                     // lines past the end of the file are empty
};

// Every block whose header carries `functionKey`, in file order (normally
// one; a later one replaces what an earlier one set). Lines taken as block
// lines are never tested as headers.
std::vector<FunctionBlock> FindBlocks(const std::vector<std::string>& lines, int functionKey);

// Does a category entry (0-5) list a function with this header?
bool CategoryListsHeader(int category, const std::string& header);
