#include "platform/FileSystem.h"

#include "platform/Exceptions.h"

#include <cerrno>
#include <dirent.h>
#include <filesystem>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool IsFolder(const std::string& path)
{
    struct ::stat st{};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& path)
{
    struct ::stat st{};
    return ::lstat(path.c_str(), &st) == 0;
}

bool RemoveFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

// A POSIX path is bytes through and through, in std::filesystem as well.
std::string FullPath(const std::string& path)
{
    std::string full = std::filesystem::absolute(path).lexically_normal().string();
    while (full.size() > 1 && full.back() == '/')
        full.pop_back();
    return full;
}

std::vector<FolderFile> ListFiles(const std::string& folder)
{
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir)
        CFileException::ThrowErrno(folder, "cannot read the folder");
    std::vector<FolderFile> files;
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        struct ::stat st{};
        if (::fstatat(::dirfd(dir.get()), entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
            files.push_back({entry->d_name, std::int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec});
        errno = 0;
    }
    if (errno != 0)
        CFileException::ThrowErrno(folder, "cannot read the folder");
    return files;
}

std::string ExecutablePath()
{
    std::string path(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
        if (n < 0)
            CFileException::ThrowErrno("/proc/self/exe", "cannot tell the program's own file");
        if (static_cast<std::size_t>(n) < path.size()) {
            path.resize(static_cast<std::size_t>(n));
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace platform
