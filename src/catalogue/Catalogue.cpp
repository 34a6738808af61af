#include "catalogue/Catalogue.h"

#include "catalogue/FunctionKeys.h"
#include "catalogue/FunctionKind.h"
#include "util/PowerClass.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

bool CountsAsHeader(std::string_view line)
{
    return line.size() >= 9 && line[4] == '0';
}

std::string KeyText(int functionKey)
{
    char keyText[16];
    std::snprintf(keyText, sizeof keyText, "%05d", functionKey);
    return keyText;
}

// The value of a numbered line, as LineValue takes it, without a copy.
std::string_view ValueOf(std::string_view line)
{
    return line.size() > 6 ? line.substr(6) : std::string_view();
}

// The blocks that start at `candidates`, the lines in file order whose first
// five characters are one key: a candidate inside a block taken before is a
// block line, not a header.
std::vector<FunctionBlock> BlocksAt(std::span<const std::string_view> lines,
                                    std::span<const std::pair<int, std::uint32_t>> candidates)
{
    std::vector<FunctionBlock> blocks;
    std::size_t free = 0;
    for (const auto& candidate : candidates) {
        const std::size_t i = candidate.second;
        if (i < free)
            continue;
        FunctionBlock block;
        block.header = ValueOf(lines[i]);
        const int count = BlockLineCount(PowerClass::DecimalToInt(block.header.substr(0, 2)));
        block.lines.reserve(static_cast<std::size_t>(count));
        for (int n = 0; n < count; ++n) {
            const std::size_t at = i + 1 + static_cast<std::size_t>(n);
            block.lines.emplace_back(at < lines.size() ? ValueOf(lines[at]) : std::string_view());
        }
        free = i + 1 + static_cast<std::size_t>(count);
        blocks.push_back(std::move(block));
    }
    return blocks;
}

// The number that the first five characters of a line write, when they are
// five digits.
std::optional<int> LineKey(std::string_view line)
{
    if (line.size() < 5)
        return std::nullopt;
    int key = 0;
    for (std::size_t i = 0; i < 5; ++i) {
        if (line[i] < '0' || line[i] > '9')
            return std::nullopt;
        key = key * 10 + (line[i] - '0');
    }
    return key;
}

} // namespace

std::vector<std::string_view> HeaderList(std::span<const std::string_view> lines)
{
    std::vector<std::string_view> headers;
    for (const std::string_view line : lines)
        if (CountsAsHeader(line))
            headers.push_back(ValueOf(line));
    return headers;
}

std::vector<int> KeysWithoutHeader(std::span<const std::string_view> lines, int functionCount)
{
    std::set<std::string_view> carried;
    for (const std::string_view line : lines)
        if (CountsAsHeader(line))
            carried.insert(line.substr(0, 5));
    std::vector<int> keys;
    for (int i = 0; i < functionCount; ++i)
        if (!carried.contains(KeyText(catalogue::FunctionKey(i))))
            keys.push_back(catalogue::FunctionKey(i));
    return keys;
}

std::vector<FunctionBlock> FindBlocks(std::string_view text, int functionKey)
{
    // The key's lines are found by a search through the bytes; only the
    // lines of the blocks found are taken apart.
    const std::string key = KeyText(functionKey);
    if (key.size() != 5)
        return {};
    std::vector<FunctionBlock> blocks;
    std::size_t free = 0; // where the line after the last block taken starts
    for (std::size_t at = text.find(key, free); at != std::string_view::npos; at = text.find(key, at + 1)) {
        if ((at != 0 && text[at - 1] != '\n') || at < free)
            continue;
        const LineSpan headerLine = LineAt(text, at);
        FunctionBlock block;
        block.header = LineValue(headerLine.text);
        const int count = BlockLineCount(PowerClass::DecimalToInt(block.header.substr(0, 2)));
        std::size_t next = headerLine.next;
        for (int n = 0; n < count; ++n) {
            if (next >= text.size()) {
                block.lines.emplace_back();
                continue;
            }
            const LineSpan line = LineAt(text, next);
            block.lines.push_back(LineValue(line.text));
            next = line.next;
        }
        free = next;
        blocks.push_back(std::move(block));
    }
    return blocks;
}

CatalogueBlocks::CatalogueBlocks(std::string text) : text_(std::make_shared<const std::string>(std::move(text)))
{
    const std::string_view bytes = *text_;
    for (std::size_t at = 0; at < bytes.size();) {
        const LineSpan line = LineAt(bytes, at);
        if (const std::optional<int> key = LineKey(line.text))
            keyed_.emplace_back(*key, static_cast<std::uint32_t>(lines_.size()));
        lines_.push_back(line.text);
        at = line.next;
    }
    // A catalogue lists its keys in order, and is then sorted already.
    if (!std::is_sorted(keyed_.begin(), keyed_.end()))
        std::sort(keyed_.begin(), keyed_.end());
}

std::vector<FunctionBlock> CatalogueBlocks::Find(int functionKey) const
{
    // Lines are keyed by their first five digits: a key that five digits
    // cannot write is found nowhere.
    const auto less = [](const std::pair<int, std::uint32_t>& line, int key) { return line.first < key; };
    const auto first = std::lower_bound(keyed_.begin(), keyed_.end(), functionKey, less);
    auto last = first;
    while (last != keyed_.end() && last->first == functionKey)
        ++last;
    return BlocksAt(lines_, std::span(first, last));
}

const KindRow* HeaderKind(const std::string& header)
{
    return FindKind(PowerClass::DecimalToInt(header.substr(0, 2)));
}

std::vector<std::string> FunctionNames(const std::function<std::optional<std::string>(int key)>& nameOf)
{
    std::vector<std::string> names;
    for (int i = 0;; ++i) {
        std::optional<std::string> name = nameOf(catalogue::FunctionKey(i));
        if (!name || *name == catalogue::EndOfFunctions)
            return names;
        names.push_back(std::move(*name));
    }
}

bool CategoryListsHeader(int category, std::string_view header)
{
    // The kind characters are compared as text here, so " 4" is no "04".
    const std::string_view kind = header.substr(0, 2);
    switch (category) {
    case 0: return true;
    case 1: return header.size() >= 3 && header[2] == '0';
    case 2: return header.size() >= 3 && header[2] == '1';
    case 3: return kind == "04";
    case 4: return kind == "03";
    case 5: return kind == "05";
    default: return false;
    }
}
