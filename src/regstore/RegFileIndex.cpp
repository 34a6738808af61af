#include "regstore/RegFileIndex.h"

#include "regfile/RegLines.h"
#include "platform/RegNames.h"

#include <algorithm>

namespace tk {

namespace {

using reglines::IsBlank;
using reglines::LineText;
using reglines::Trim;

struct Line {
    std::size_t start;
    std::string_view text; // without blanks around it
};

// The line that ends just before `end` (after its line end, if it has one).
Line LineBefore(std::string_view text, std::size_t end)
{
    const std::size_t lineEnd = text[end - 1] == '\n' ? end - 1 : end;
    const std::size_t start = lineEnd == 0 ? 0 : text.rfind('\n', lineEnd - 1) + 1;
    return {start, Trim(LineText(text, start, lineEnd))};
}

// Whether the line that starts at `start` is taken for more hex data of the
// value above it: the nearest line above that is not blank ends with a
// backslash and is no comment. ParseRegFile reads such a line as hex data even
// when it starts with '['.
bool ContinuesHexData(std::string_view text, std::size_t start)
{
    // Most often the last byte above that is no blank and no line end is not
    // a backslash, and nothing more needs to be looked at.
    const auto blankOrLineEnd = [](char c) { return IsBlank(c) || c == '\r' || c == '\n'; };
    std::size_t last = start;
    while (last > 0 && blankOrLineEnd(text[last - 1]))
        --last;
    if (last == 0 || text[last - 1] != '\\')
        return false;
    while (start > 0) {
        const Line line = LineBefore(text, start);
        if (!line.text.empty())
            return line.text.back() == '\\' && line.text.front() != ';';
        start = line.start;
    }
    return false;
}

// The start of the first key line at or after `from`, itself the start of a
// line; npos when none follows.
std::size_t NextKeyLine(std::string_view text, std::size_t from)
{
    for (std::size_t bracket = text.find('[', from); bracket != std::string_view::npos;
         bracket = text.find('[', bracket + 1)) {
        std::size_t start = bracket;
        while (start > from && IsBlank(text[start - 1]))
            --start;
        if ((start == 0 || text[start - 1] == '\n') && !ContinuesHexData(text, start))
            return start;
    }
    return std::string_view::npos;
}

} // namespace

std::string_view RegFileIndex::Identity(std::size_t section) const
{
    const Section& s = sections[section];
    return std::string_view(identities).substr(s.identityAt, s.identityLength);
}

std::size_t RegFileIndex::LowerBound(std::string_view identity) const
{
    std::size_t low = 0;
    std::size_t high = sections.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (KeyIdentityLess(Identity(middle), identity))
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

std::optional<std::size_t> RegFileIndex::Find(std::string_view identity) const
{
    const std::size_t at = LowerBound(identity);
    if (at == sections.size() || Identity(at) != identity)
        return std::nullopt;
    return at;
}

std::size_t RegFileIndex::BodyEnd(std::string_view text, std::size_t section) const
{
    const Section& s = sections[section];
    std::size_t end = s.end;
    for (;;) {
        const Line line = LineBefore(text, end);
        if (line.start <= s.header || (!line.text.empty() && line.text.front() != ';'))
            return end;
        end = line.start;
    }
}

std::size_t RegFileIndex::LeadStart(std::string_view text, std::size_t section) const
{
    return section == 0 ? preambleEnd : BodyEnd(text, section - 1);
}

int LineNumberAt(std::string_view text, std::size_t offset)
{
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

Result<RegFileIndex, RegFileError> IndexRegFile(std::string_view text, const std::string& fileName)
{
    RegFileIndex index;
    const std::size_t firstLineEnd = text.find('\n');
    index.preambleEnd = firstLineEnd == std::string_view::npos ? text.size() : firstLineEnd + 1;
    std::size_t at = NextKeyLine(text, index.preambleEnd);
    if (auto preamble = ParseRegFile(text.substr(0, at), fileName); !preamble)
        return preamble.Error();

    // The keys above the last one, innermost last: where a key's parent must be.
    std::vector<std::size_t> ancestors;
    while (at != std::string_view::npos) {
        const std::size_t lineEnd = std::min(text.find('\n', at), text.size());
        const auto key = ParseRegKeyLine(LineText(text, at, lineEnd));
        if (!key)
            return RegFileError{fileName, LineNumberAt(text, at), key.Error()};
        if (key.Value().deleteKey) {
            index.regular = false;
            return index;
        }
        const std::size_t identityAt = index.identities.size();
        static_cast<void>(AppendKeyIdentity(index.identities, key.Value().root, key.Value().subKey));
        const std::string_view identity = std::string_view(index.identities).substr(identityAt);
        while (!ancestors.empty() && !IsBelow(identity, index.Identity(ancestors.back())))
            ancestors.pop_back();
        const std::string_view parent = ParentIdentity(identity);
        const bool parentKnown =
            parent.size() <= 1 || (!ancestors.empty() && index.Identity(ancestors.back()) == parent);
        const bool inOrder =
            index.sections.empty() || KeyIdentityLess(index.Identity(index.sections.size() - 1), identity);
        if (!parentKnown || !inOrder) {
            index.regular = false;
            return index;
        }
        if (!index.sections.empty())
            index.sections.back().end = at;
        ancestors.push_back(index.sections.size());
        index.sections.push_back({at, text.size(), static_cast<std::uint32_t>(identityAt),
                                  static_cast<std::uint32_t>(identity.size())});
        at = NextKeyLine(text, std::min(lineEnd + 1, text.size()));
    }
    return index;
}

} // namespace tk
