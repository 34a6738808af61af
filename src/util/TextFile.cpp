#include "util/TextFile.h"

#include "toolkit/WholeFile.h"

namespace {

// Far above any installation's data files, far below what a wrong file (a
// disk image, a log) could hold.
constexpr std::size_t kDataFileLimit = std::size_t{256} << 20;

} // namespace

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::string ReadTextFile(const std::string& path)
{
    return tk::ReadWholeFile(path, kDataFileLimit);
}

std::vector<std::string> ReadTextLines(const std::string& path)
{
    return SplitLines(ReadTextFile(path));
}

std::string LineValue(const std::string& line)
{
    return line.size() > 6 ? line.substr(6) : std::string();
}
