#include "toolkit/AtomicFile.h"

#include "toolkit/Exceptions.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <filesystem>
#include <unistd.h>

namespace tk {

namespace {

class FdGuard {
public:
    explicit FdGuard(int fd) : fd_(fd) {}
    ~FdGuard() { if (fd_ >= 0) ::close(fd_); }
    FdGuard(const FdGuard&) = delete;
    FdGuard& operator=(const FdGuard&) = delete;
    int Get() const { return fd_; }
    int Release() { int fd = fd_; fd_ = -1; return fd; }

private:
    int fd_;
};

void Fail(const std::string& path, const std::string& tmp, const std::string& action)
{
    const int err = errno;
    if (!tmp.empty())
        ::unlink(tmp.c_str());
    throw CFileException(path, action + " (" + std::strerror(err) + ")");
}

} // namespace

void WriteFileAtomically(const std::string& path, std::string_view content)
{
    const std::filesystem::path target(path);
    std::string tmpl = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    FdGuard fd(::mkstemp(tmpl.data()));
    if (fd.Get() < 0)
        Fail(path, "", "cannot create a temporary file beside it");
    const std::string tmp = tmpl;

    // Keep the permissions of the file being replaced.
    struct stat st{};
    if (::stat(path.c_str(), &st) == 0)
        ::fchmod(fd.Get(), st.st_mode & 07777);
    else
        ::fchmod(fd.Get(), 0644);

    const char* p = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd.Get(), p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(path, tmp, "cannot write");
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd.Get()) != 0)
        Fail(path, tmp, "cannot flush to disk");
    if (::close(fd.Release()) != 0)
        Fail(path, tmp, "cannot write");
    if (::rename(tmp.c_str(), path.c_str()) != 0)
        Fail(path, tmp, "cannot replace");

    // Make the rename itself durable.
    std::string folder = target.parent_path().string();
    if (folder.empty())
        folder = ".";
    FdGuard dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
}

} // namespace tk
