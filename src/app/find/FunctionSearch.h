#pragma once
// What Find looks through: every function's name and info text, in catalogue
// order, whatever the category filter lists.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

struct SearchedFunction {
    std::string name;
    std::string info;
};

// The first function from index `from` on, going round past the last, whose
// name or info text contains `text`, letter case ignored as the registry
// ignores it. Nothing for an empty text or when no function has it.
std::optional<int> FindFunction(const std::vector<SearchedFunction>& functions, std::string_view text, int from);

} // namespace app
