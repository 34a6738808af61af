#include "catalogue/Catalogue.h"

#include "catalogue/FunctionKeys.h"
#include "catalogue/FunctionKind.h"
#include "util/PowerClass.h"

#include <cstdio>
#include <set>

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

} // namespace

std::vector<std::string> HeaderList(const std::vector<std::string>& lines)
{
    std::vector<std::string> headers;
    for (const auto& line : lines)
        if (CountsAsHeader(line))
            headers.push_back(LineValue(line));
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

std::vector<FunctionBlock> FindBlocks(const std::vector<std::string>& lines, int functionKey)
{
    const std::string key = KeyText(functionKey);

    std::vector<FunctionBlock> blocks;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].compare(0, 5, key) != 0 || lines[i].size() < 5)
            continue;
        FunctionBlock block;
        block.header = LineValue(lines[i]);
        const int kind = PowerClass::DecimalToInt(block.header.substr(0, 2));
        const int count = BlockLineCount(kind);
        for (int n = 0; n < count; ++n) {
            const std::size_t at = i + 1 + static_cast<std::size_t>(n);
            block.lines.push_back(at < lines.size() ? LineValue(lines[at]) : std::string());
        }
        i += static_cast<std::size_t>(count);
        blocks.push_back(std::move(block));
    }
    return blocks;
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
