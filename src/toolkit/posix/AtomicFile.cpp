#include "toolkit/AtomicFile.h"

#include "toolkit/Exceptions.h"
#include "toolkit/TemporaryName.h"
#include "toolkit/posix/FileSteps.h"
#include "toolkit/posix/UniqueFd.h"

#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace tk {

namespace {

// As many links as the kernel follows in one path.
constexpr int kMaxLinks = 40;

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// `name` in the folder of `path`.
std::string Beside(const std::string& path, const std::string& name)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? name : path.substr(0, slash + 1) + name;
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// A process that cannot be signalled for want of permission still runs, so
// only a file whose writer is gone is removed.
void RemoveStaleTemporaries(const std::string& target)
{
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(FolderOf(target).c_str()));
    if (!dir)
        return;
    const std::string prefix = detail::TemporaryPrefix(NameOf(target));
    while (const dirent* entry = ::readdir(dir.get())) {
        const auto pid = detail::WriterOf(entry->d_name, prefix);
        if (pid && ::kill(static_cast<pid_t>(*pid), 0) != 0 && errno == ESRCH)
            ::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
    }
}

// Removes the temporary file unless it has become the file.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile()
    {
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates ".<name>.tw-<pid>-XXXXXX" beside `target`; errno tells why not.
    UniqueFd Create(const std::string& target, mode_t mode)
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
    const std::string& Path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    std::string path_;
};

// access() lets root write any file; a file without a single write permission
// is read-only for root as well.
bool MayWrite(const std::string& file, const struct ::stat& st)
{
    return ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) == 0 && (st.st_mode & 0222) != 0;
}

std::string ReadLink(const std::string& path)
{
    std::string target(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0)
            return std::string();
        if (static_cast<std::size_t>(n) < target.size()) {
            target.resize(static_cast<std::size_t>(n));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

} // namespace

std::string FileBehindLinks(const std::string& path)
{
    std::string current = path;
    for (int links = 0; links <= kMaxLinks; ++links) {
        struct ::stat st{};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        const std::string link = ReadLink(current);
        if (link.empty())
            CFileException::ThrowErrno(path, "the link cannot be read");
        current = link[0] == '/' ? link : Beside(current, link);
    }
    throw CFileException(path, "the chain of links does not end");
}

void WriteFileAtomically(const std::string& path, std::string_view content)
{
    const std::string target = FileBehindLinks(path);
    struct ::stat old{};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode))
        throw CFileException(path, "is not a regular file and is not replaced");
    if (replacing && !MayWrite(target, old))
        throw CFileException(path, "is read-only");
    RemoveStaleTemporaries(target);

    // A new file gets the permissions that the umask leaves; a replaced one
    // those it had.
    TemporaryFile temporary;
    UniqueFd fd = temporary.Create(target, replacing ? 0600 : 0666);
    if (!fd.Valid())
        CFileException::ThrowErrno(path, "cannot create a temporary file beside it");
    if (replacing) {
        // Changing the owner clears set-id bits, so the mode comes after it.
        if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            && ::fchown(fd.Get(), old.st_uid, old.st_gid) != 0 && errno != EPERM)
            CFileException::ThrowErrno(path, "cannot give the new file the old one's owner");
        if (::fchmod(fd.Get(), old.st_mode & 07777) != 0)
            CFileException::ThrowErrno(path, "cannot give the new file the old one's permissions");
    }
    WriteAll(path, fd.Get(), content);
    if (::fsync(fd.Get()) != 0)
        CFileException::ThrowErrno(path, "cannot flush to disk");
    if (!fd.Close())
        CFileException::ThrowErrno(path, "cannot write");
    if (::rename(temporary.Path().c_str(), target.c_str()) != 0)
        CFileException::ThrowErrno(path, "cannot replace");
    temporary.Keep();

    // Make the rename itself durable.
    FlushFolderOf(target);
}

} // namespace tk
