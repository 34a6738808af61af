#include "util/TextFile.h"

#include "toolkit/WholeFile.h"

namespace {

// Far above any installation's data files, far below what a wrong file (a
// disk image, a log) could hold.
constexpr std::size_t kDataFileLimit = std::size_t{256} << 20;

} // namespace

LineSpan LineAt(std::string_view text, std::size_t begin)
{
    const std::size_t lineFeed = text.find('\n', begin);
    if (lineFeed == std::string_view::npos)
        return {text.substr(begin), text.size()};
    const std::size_t end = lineFeed > begin && text[lineFeed - 1] == '\r' ? lineFeed - 1 : lineFeed;
    return {text.substr(begin, end - begin), lineFeed + 1};
}

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const LineSpan line = LineAt(text, at);
        lines.emplace_back(line.text);
        at = line.next;
    }
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
