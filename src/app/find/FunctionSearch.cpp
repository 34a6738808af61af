#include "app/find/FunctionSearch.h"

#include "platform/CaseFold.h"

namespace app {

std::optional<int> FindFunction(const std::vector<SearchedFunction>& functions, std::string_view text, int from)
{
    const int n = static_cast<int>(functions.size());
    if (text.empty() || n == 0)
        return std::nullopt;
    for (int k = 0; k < n; ++k) {
        const int i = ((from + k) % n + n) % n;
        const SearchedFunction& f = functions[static_cast<std::size_t>(i)];
        if (platform::ContainsNoCase(f.name, text) || platform::ContainsNoCase(f.info, text))
            return i;
    }
    return std::nullopt;
}

} // namespace app
