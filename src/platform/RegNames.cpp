#include "platform/RegNames.h"

#include "platform/CaseFold.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tk {

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101u;
constexpr std::uint64_t kHighs = 0x8080808080808080u;
constexpr std::uint64_t kLows = 0x7f7f7f7f7f7f7f7fu;

// 0x80 in each byte of `word` that is `byte`, nothing in the others.
std::uint64_t BytesEqual(std::uint64_t word, unsigned char byte)
{
    const std::uint64_t t = word ^ (kOnes * byte);
    return ~(((t & kLows) + kLows) | t | kLows);
}

// Eight bytes folded as FoldCase folds each: ASCII capitals at once (below
// 0x80 no byte carries into the next, and the high bit tells A and above,
// then above Z), the other bytes one at a time.
std::uint64_t FoldEight(std::uint64_t word)
{
    if ((word & kHighs) == 0) {
        const std::uint64_t capitals = (word + kOnes * (0x80 - 'A')) & ~(word + kOnes * (0x80 - 'Z' - 1)) & kHighs;
        return word | (capitals >> 2);
    }
    char bytes[8];
    std::memcpy(bytes, &word, sizeof bytes);
    for (char& b : bytes)
        b = FoldCase(b);
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// A sub-key spelled as the store writes it, each separator single and none
// at its end, folded into `to` eight bytes at a time; where it ends there, or
// null for any other spelling.
char* FoldSingleSeparated(std::string_view subKey, char* to)
{
    const char* from = subKey.data();
    const char* const end = from + subKey.size();
    std::uint64_t before = 0; // 0x80 where the byte before the word is a separator
    for (; end - from >= 8; from += 8, to += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, from, sizeof word);
        const std::uint64_t separators = BytesEqual(word, '\\');
        if ((separators & ((separators << 8) | before)) != 0)
            return nullptr;
        before = separators >> 56;
        word = FoldEight(word);
        std::memcpy(to, &word, sizeof word);
    }
    bool separator = before != 0;
    for (; from < end; ++from) {
        if (*from == '\\' && separator)
            return nullptr;
        separator = *from == '\\';
        *to++ = FoldCase(*from);
    }
    return separator ? nullptr : to;
}

} // namespace

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
    // Written through pointers, as this runs for every key line of the
    // store's file and every lookup.
    const std::size_t start = out.size();
    out.resize(start + 2 + subKey.size());
    char* const data = out.data();
    char* to = data + start;
    *to++ = static_cast<char>('0' + static_cast<int>(root));
    if (subKey.empty()) {
        out.resize(start + 1);
        return true;
    }
    *to = '\\';
    if (const char* end = FoldSingleSeparated(subKey, to + 1)) {
        out.resize(static_cast<std::size_t>(end - data));
        return true;
    }
    // Runs of separators become one, a trailing one none.
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
    out.resize(static_cast<std::size_t>(to - data));
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

} // namespace tk
