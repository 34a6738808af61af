#include "platform/FileSystem.h"

#include <filesystem>
#include <sys/stat.h>

namespace tk {

bool IsFolder(const std::string& path)
{
    struct ::stat st{};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A POSIX path is bytes through and through, in std::filesystem as well.
std::string FullPath(const std::string& path)
{
    std::string full = std::filesystem::absolute(path).lexically_normal().string();
    while (full.size() > 1 && full.back() == '/')
        full.pop_back();
    return full;
}

} // namespace tk
