#pragma once
// Reading the function catalogue: numbered lines "KKKKK value", one header
// line per function (its key is the function key) followed by the block lines
// of its kind. Nothing here opens files; callers pass the file's lines or
// bytes.
#include "catalogue/FunctionKind.h"
#include "util/TextFile.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Header values in file order, as the category filter counts them: every line
// of nine or more characters whose fifth character is "0". Views of `lines`.
std::vector<std::string_view> HeaderList(std::span<const std::string_view> lines);

// The first `functionCount` function keys that no line counted by HeaderList
// carries in its first five characters, in key order.
std::vector<int> KeysWithoutHeader(std::span<const std::string_view> lines, int functionCount);

struct FunctionBlock {
    std::string header;              // the header line's value
    std::vector<std::string> lines;  // block line values, as many as the kind needs;
                                     // lines past the end of the file are empty
};

// Every block whose header carries `functionKey`, in the catalogue's bytes,
// in file order (normally one; a later one replaces what an earlier one set).
// Lines taken as block lines are never tested as headers. The lines are split
// as SplitLines splits them.
std::vector<FunctionBlock> FindBlocks(std::string_view text, int functionKey);

// The blocks of every function from one reading of the catalogue: Find gives
// what FindBlocks gives for the key, without a search through the whole
// catalogue for each function. The catalogue's bytes are held as they were
// read, its lines as views of them, split as SplitLines splits them.
class CatalogueBlocks {
public:
    explicit CatalogueBlocks(std::string text);

    std::vector<FunctionBlock> Find(int functionKey) const;
    const std::vector<std::string_view>& Lines() const { return lines_; }

private:
    // Shared, so that the views stay valid when the blocks are moved or copied.
    std::shared_ptr<const std::string> text_;
    std::vector<std::string_view> lines_;
    // The lines that start with five digits, by the number these write, then
    // in file order.
    std::vector<std::pair<int, std::uint32_t>> keyed_;
};

// The kind that a header names in its first two characters (read as
// DecimalToInt reads them), or null for a number that is no kind.
const KindRow* HeaderKind(const std::string& header);

// The names of the functions in key order, as `nameOf` gives the text of a
// translation key: up to the first key whose text is "End of functions" or
// that the translation lacks (empty).
std::vector<std::string> FunctionNames(const std::function<std::optional<std::string>(int key)>& nameOf);

// Does a category entry (0-5) list a function with this header?
bool CategoryListsHeader(int category, std::string_view header);
