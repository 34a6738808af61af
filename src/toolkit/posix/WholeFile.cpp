#include "toolkit/WholeFile.h"

#include "toolkit/Exceptions.h"
#include "toolkit/posix/ReadAll.h"

#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tk {

namespace {

struct Descriptor {
    int fd;
    ~Descriptor() { if (fd >= 0) ::close(fd); }
};

std::string SizeText(std::size_t bytes)
{
    constexpr std::size_t kMegabyte = std::size_t{1} << 20;
    if (bytes >= kMegabyte && bytes % kMegabyte == 0)
        return std::to_string(bytes / kMegabyte) + " MB";
    return std::to_string(bytes) + " bytes";
}

[[noreturn]] void ThrowTooLarge(const std::string& path, std::size_t limit)
{
    throw CFileException(path, "is larger than " + SizeText(limit) + ", the most a data file may hold");
}

} // namespace

std::string ReadWholeFile(const std::string& path, std::size_t limit)
{
    // O_NONBLOCK only keeps the open of a pipe without writer from waiting;
    // such a file is refused below, and a regular file reads the same with it.
    const Descriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0)
        CFileException::ThrowErrno(path, "cannot open the file for reading");
    struct stat status {};
    if (::fstat(file.fd, &status) != 0)
        CFileException::ThrowErrno(path, "cannot examine the file");
    if (!S_ISREG(status.st_mode))
        throw CFileException(path, "is not a regular file");
    if (static_cast<std::uintmax_t>(status.st_size) > limit)
        ThrowTooLarge(path, limit);

    // The size is only where reading starts: a file may grow while it is read,
    // and some report no size at all, so the limit holds for what is read.
    std::string content;
    if (!ReadAll(file.fd, static_cast<std::size_t>(status.st_size), limit, content))
        CFileException::ThrowErrno(path, "cannot read the file");
    if (content.size() > limit)
        ThrowTooLarge(path, limit);
    return content;
}

} // namespace tk
