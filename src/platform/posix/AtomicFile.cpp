#include "platform/AtomicFile.h"

#include "platform/Exceptions.h"
#include "platform/Texts.h"
#include "platform/posix/AtomicWriter.h"
#include "platform/posix/FileSteps.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// As many links as the kernel follows in one path.
constexpr int kMaxLinks = 40;

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
            CFileException::ThrowErrno(path, Text(text::LinkUnreadable));
        current = link[0] == '/' ? link : Beside(current, link);
    }
    throw CFileException(path, Text(text::LinksEndless));
}

AtomicFileWriter::AtomicFileWriter(const std::string& path) : path_(path), target_(FileBehindLinks(path))
{
    struct ::stat old{};
    const bool replacing = ::stat(target_.c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode))
        throw CFileException(path_, Text(text::NotRegularNotReplaced));
    if (replacing && !MayWrite(target_, old))
        throw CFileException(path_, Text(text::IsReadOnly));
    RemoveStaleTemporaries(target_, StaleTemporaries::OfThisFile);

    // A new file gets the permissions that the umask leaves; a replaced one
    // those it had.
    fd_ = temporary_.Create(target_, replacing ? 0600 : 0666);
    if (!fd_.Valid())
        CFileException::ThrowErrno(path_, Text(text::CannotCreateTemporary));
    if (replacing) {
        // Changing the owner clears set-id bits, so the mode comes after it.
        if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            && ::fchown(fd_.Get(), old.st_uid, old.st_gid) != 0 && errno != EPERM)
            CFileException::ThrowErrno(path_, Text(text::CannotKeepOwner));
        if (::fchmod(fd_.Get(), old.st_mode & 07777) != 0)
            CFileException::ThrowErrno(path_, Text(text::CannotKeepPermissions));
    }
}

void AtomicFileWriter::Write(std::string_view piece)
{
    WriteAll(path_, fd_, piece);
}

void AtomicFileWriter::Commit()
{
    WriteDurably(path_, fd_, {});
    if (::rename(temporary_.Path().c_str(), target_.c_str()) != 0)
        CFileException::ThrowErrno(path_, Text(text::CannotReplace));
    temporary_.Keep();

    // Make the rename itself durable.
    FlushFolderOf(target_);
}

void WriteFileAtomically(const std::string& path, std::string_view content)
{
    AtomicFileWriter writer(path);
    writer.Write(content);
    writer.Commit();
}

} // namespace platform
