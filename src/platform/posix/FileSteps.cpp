#include "platform/posix/FileSteps.h"

#include "platform/Exceptions.h"
#include "platform/Texts.h"
#include "platform/posix/UniqueFd.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

void WriteAll(const std::string& path, const UniqueFd& fd, std::string_view content)
{
    while (!content.empty()) {
        const ssize_t n = ::write(fd.Get(), content.data(), content.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            CFileException::ThrowErrno(path, Text(text::CannotWrite));
        content.remove_prefix(static_cast<std::size_t>(n));
    }
}

void WriteDurably(const std::string& path, UniqueFd& fd, std::string_view content)
{
    WriteAll(path, fd, content);
    if (::fsync(fd.Get()) != 0)
        CFileException::ThrowErrno(path, Text(text::CannotFlush));
    if (!fd.Close())
        CFileException::ThrowErrno(path, Text(text::CannotWrite));
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Beside(const std::string& path, const std::string& name)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? name : path.substr(0, slash + 1) + name;
}

void FlushFolderOf(const std::string& path)
{
    const UniqueFd folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Valid())
        ::fsync(folder.Get());
}

} // namespace platform
