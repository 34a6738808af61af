#include "toolkit/regstore/RegNames.h"

#include "toolkit/CaseFold.h"

#include <algorithm>

namespace tk {

bool NamesEqual(std::string_view a, std::string_view b)
{
    return EqualNoCase(a, b);
}

bool CaseInsensitiveLess::operator()(std::string_view a, std::string_view b) const
{
    return LessNoCase(a, b);
}

std::optional<std::vector<std::string_view>> SplitKeyPath(std::string_view subKey)
{
    if (subKey.starts_with('\\'))
        return std::nullopt;
    std::vector<std::string_view> names;
    std::size_t pos = 0;
    while (pos < subKey.size()) {
        const std::size_t end = std::min(subKey.find('\\', pos), subKey.size());
        if (end > pos)
            names.push_back(subKey.substr(pos, end - pos));
        pos = end + 1;
    }
    return names;
}

bool IsStorableName(std::string_view name)
{
    return name.find_first_of("\r\n") == std::string_view::npos;
}

} // namespace tk
