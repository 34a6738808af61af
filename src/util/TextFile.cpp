#include "util/TextFile.h"

#include "platform/WholeFile.h"

namespace util {

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

std::optional<LineSpan> FindLine(std::string_view text, std::string_view line)
{
    for (std::size_t from = 0; from < text.size();) {
        const std::size_t at = text.find(line, from);
        if (at >= text.size())
            return std::nullopt;
        if (at == 0 || text[at - 1] == '\n') {
            const LineSpan found = LineAt(text, at);
            if (found.text == line)
                return found;
        }
        // A line can only start after a line feed.
        const std::size_t lineFeed = text.find('\n', at);
        if (lineFeed == std::string_view::npos)
            return std::nullopt;
        from = lineFeed + 1;
    }
    return std::nullopt;
}

std::string ReadTextFile(const std::string& path)
{
    return platform::ReadWholeFile(path, kDataFileLimit);
}

void ReadTextPieces(const std::string& path, const std::function<bool(std::string_view piece)>& take)
{
    platform::ReadFileInPieces(path, kDataFileLimit, take);
}

std::vector<std::string> ReadTextLines(const std::string& path)
{
    return SplitLines(ReadTextFile(path));
}

std::string LineValue(std::string_view line)
{
    return std::string(line.size() > 6 ? line.substr(6) : std::string_view());
}

} // namespace util
