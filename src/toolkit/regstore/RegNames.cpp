#include "toolkit/regstore/RegNames.h"

#include <algorithm>

namespace tk {

namespace {

unsigned char Fold(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}

} // namespace

bool NamesEqual(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Fold(x) == Fold(y); });
}

bool CaseInsensitiveLess::operator()(std::string_view a, std::string_view b) const
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Fold(x) < Fold(y); });
}

std::vector<std::string_view> SplitKeyPath(std::string_view subKey)
{
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
