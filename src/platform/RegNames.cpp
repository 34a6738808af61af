#include "platform/RegNames.h"

#include "platform/CaseFold.h"

#include <algorithm>
#include <cstring>

namespace platform {

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

std::string JoinedKeyPath(std::string_view subKey)
{
    std::string path;
    path.reserve(subKey.size());
    for (char c : subKey)
        if (c != '\\' || (!path.empty() && path.back() != '\\'))
            path += c;
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

std::string JoinedKeyNames(const std::vector<std::string_view>& names, std::size_t depth)
{
    std::string path;
    for (std::size_t i = 0; i < depth; ++i)
        path += (i == 0 ? "" : "\\") + std::string(names[i]);
    return path;
}

std::string KeyIdentity(const RegKeyPath& key)
{
    std::string identity;
    static_cast<void>(AppendKeyIdentity(identity, key.root, key.subKey));
    return identity;
}

bool AppendKeyIdentity(std::string& out, RegRoot root, std::string_view subKey)
{
    if (subKey.starts_with('\\'))
        return false;
    // Written through a pointer, as this runs for every key line of the
    // store's file.
    const std::size_t start = out.size();
    out.resize(start + 2 + subKey.size());
    char* to = out.data() + start;
    *to++ = static_cast<char>('0' + static_cast<int>(root));
    if (!subKey.empty() && !subKey.ends_with('\\') && subKey.find("\\\\") == std::string_view::npos) {
        // Single separators, as the store writes them: fold and copy. A
        // backslash folds to itself.
        *to++ = '\\';
        for (const char c : subKey)
            *to++ = FoldCase(c);
    } else {
        bool separator = true;
        for (const char c : subKey) {
            if (c == '\\') {
                separator = true;
                continue;
            }
            if (separator)
                *to++ = '\\';
            separator = false;
            *to++ = FoldCase(c);
        }
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
    return true;
}

bool KeyIdentityLess(std::string_view a, std::string_view b)
{
    // Neighbouring keys share long paths: the equal start is skipped eight
    // bytes at a time.
    const std::size_t shorter = std::min(a.size(), b.size());
    std::size_t i = 0;
    while (i + 8 <= shorter && std::memcmp(a.data() + i, b.data() + i, 8) == 0)
        i += 8;
    while (i < shorter && a[i] == b[i])
        ++i;
    if (i == shorter)
        return a.size() < b.size();
    // The separator sorts first, so that a key's subkeys come right after it.
    if (a[i] == '\\' || b[i] == '\\')
        return a[i] == '\\';
    return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]);
}

bool IsBelow(std::string_view identity, std::string_view ancestor)
{
    return identity.size() > ancestor.size() && identity.starts_with(ancestor) && identity[ancestor.size()] == '\\';
}

std::string_view ParentIdentity(std::string_view identity)
{
    const std::size_t separator = identity.rfind('\\');
    return separator == std::string_view::npos ? std::string_view() : identity.substr(0, separator);
}

std::string FoldedName(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded)
        c = FoldCase(c);
    return folded;
}

bool IsStorableName(std::string_view name)
{
    return name.find_first_of("\r\n") == std::string_view::npos;
}

} // namespace platform
