#include "util/Path.h"

namespace util {

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
constexpr const char* kSeparators = "\\/";
#else
constexpr char kSeparator = '/';
constexpr const char* kSeparators = "/";
#endif

bool IsSeparator(char c)
{
    return std::string(kSeparators).find(c) != std::string::npos;
}

} // namespace

char PathSeparator()
{
    return kSeparator;
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return IsSeparator(folder.back()) ? folder + name : folder + kSeparator + name;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t last = path.find_last_of(kSeparators);
    if (last == std::string::npos)
        return std::string();
    std::size_t end = last;
    while (end > 0 && IsSeparator(path[end - 1]))
        --end;
    const bool root = end == 0;
#ifdef _WIN32
    const bool driveRoot = end == 2 && path[1] == ':';
#else
    const bool driveRoot = false;
#endif
    return root || driveRoot ? path.substr(0, end + 1) : path.substr(0, end);
}

std::string FileNameOf(const std::string& path)
{
    const std::string folder = FolderOf(path);
    if (folder.empty())
        return path;
    return path.substr(folder.size() + (IsSeparator(folder.back()) ? 0 : 1));
}

} // namespace util
