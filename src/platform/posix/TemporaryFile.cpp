#include "platform/posix/TemporaryFile.h"

#include "platform/TemporaryName.h"
#include "platform/posix/FileSteps.h"

#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <memory>

namespace platform {

namespace {

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

} // namespace

TemporaryFile::~TemporaryFile()
{
    if (!path_.empty())
        ::unlink(path_.c_str());
}

UniqueFd TemporaryFile::Create(const std::string& target, mode_t mode)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = Beside(target, detail::NewTemporaryName(NameOf(target), ::getpid()));
        UniqueFd fd(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (fd.Valid())
            path_ = std::move(name);
        if (fd.Valid() || errno != EEXIST)
            return fd;
    }
    return UniqueFd();
}

void RemoveStaleTemporaries(const std::string& target, StaleTemporaries scope)
{
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(FolderOf(target).c_str()));
    if (!dir)
        return;
    const std::string prefix
        = scope == StaleTemporaries::OfThisFile ? detail::TemporaryPrefix(NameOf(target)) : std::string();
    while (const dirent* entry = ::readdir(dir.get())) {
        const auto pid = detail::WriterOf(entry->d_name, prefix);
        if (pid && ::kill(static_cast<pid_t>(*pid), 0) != 0 && errno == ESRCH)
            ::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
    }
}

} // namespace platform
