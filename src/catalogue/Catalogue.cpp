#include "catalogue/Catalogue.h"

#include "catalogue/FunctionKeys.h"
#include "catalogue/FunctionKind.h"
#include "util/PowerClass.h"

#include <cstdio>
#include <set>

namespace catalogue {

namespace {

bool CountsAsHeader(const std::string& line)
{
    return line.size() >= 9 && line[4] == '0';
}

std::string KeyText(int functionKey)
{
    char keyText[16];
    std::snprintf(keyText, sizeof keyText, "%05d", functionKey);
    return keyText;
}

// The blocks that start at `candidates`, the lines in file order whose first
// five characters are one key: a candidate inside a block taken before is a
// block line, not a header.
std::vector<FunctionBlock> BlocksAt(const std::vector<std::string>& lines, const std::vector<std::size_t>& candidates)
{
    std::vector<FunctionBlock> blocks;
    std::size_t free = 0;
    for (const std::size_t i : candidates) {
        if (i < free)
            continue;
        FunctionBlock block;
        block.header = util::LineValue(lines[i]);
        const int count = BlockLineCount(util::PowerClass::DecimalToInt(block.header.substr(0, 2)));
        for (int n = 0; n < count; ++n) {
            const std::size_t at = i + 1 + static_cast<std::size_t>(n);
            block.lines.push_back(at < lines.size() ? util::LineValue(lines[at]) : std::string());
        }
        free = i + 1 + static_cast<std::size_t>(count);
        blocks.push_back(std::move(block));
    }
    return blocks;
}

// The number that the first five characters of a line write, when they are
// five digits.
std::optional<int> LineKey(const std::string& line)
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

std::vector<std::string> HeaderList(const std::vector<std::string>& lines)
{
    std::vector<std::string> headers;
    for (const auto& line : lines)
        if (CountsAsHeader(line))
            headers.push_back(util::LineValue(line));
    return headers;
}

std::vector<int> KeysWithoutHeader(const std::vector<std::string>& lines, int functionCount)
{
    std::set<std::string> carried;
    for (const auto& line : lines)
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
        const util::LineSpan headerLine = util::LineAt(text, at);
        FunctionBlock block;
        block.header = util::LineValue(std::string(headerLine.text));
        const int count = BlockLineCount(util::PowerClass::DecimalToInt(block.header.substr(0, 2)));
        std::size_t next = headerLine.next;
        for (int n = 0; n < count; ++n) {
            if (next >= text.size()) {
                block.lines.emplace_back();
                continue;
            }
            const util::LineSpan line = util::LineAt(text, next);
            block.lines.push_back(util::LineValue(std::string(line.text)));
            next = line.next;
        }
        free = next;
        blocks.push_back(std::move(block));
    }
    return blocks;
}

CatalogueBlocks::CatalogueBlocks(std::vector<std::string> lines) : lines_(std::move(lines))
{
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (const std::optional<int> key = LineKey(lines_[i]))
            keyed_[*key].push_back(i);
}

std::vector<FunctionBlock> CatalogueBlocks::Find(int functionKey) const
{
    // Lines are keyed by their first five digits: a key that five digits
    // cannot write is found nowhere.
    const auto found = keyed_.find(functionKey);
    if (found == keyed_.end())
        return {};
    return BlocksAt(lines_, found->second);
}

const KindRow* HeaderKind(const std::string& header)
{
    return FindKind(util::PowerClass::DecimalToInt(header.substr(0, 2)));
}

std::vector<std::string> FunctionNames(const std::function<std::optional<std::string>(int key)>& nameOf)
{
    std::vector<std::string> names;
    for (int i = 0;; ++i) {
        const std::optional<std::string> name = nameOf(catalogue::FunctionKey(i));
        if (!name || *name == catalogue::EndOfFunctions)
            return names;
        names.push_back(*name);
    }
}

bool CategoryListsHeader(int category, const std::string& header)
{
    // The kind characters are compared as text here, so " 4" is no "04".
    const std::string kind = header.substr(0, 2);
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

} // namespace catalogue
