#include "util/TextFile.h"

#include "toolkit/Exceptions.h"

#include <cerrno>
#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string ReadWholeFile(const std::string& path)
{
    // Binary mode: the line ends are ours to interpret, the same on every platform.
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        tk::CFileException::ThrowErrno(path, "cannot open the file for reading");

    std::string content;
    char buffer[16384];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        content.append(buffer, count);
    if (std::ferror(file.get()))
        tk::CFileException::ThrowErrno(path, "cannot read the file");
    return content;
}

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

std::vector<std::string> ReadTextLines(const std::string& path)
{
    return SplitLines(ReadWholeFile(path));
}

std::string LineValue(const std::string& line)
{
    return line.size() > 6 ? line.substr(6) : std::string();
}
