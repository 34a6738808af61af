#include "toolkit/WholeFile.h"

#include "toolkit/Exceptions.h"

#include <algorithm>
#include <cerrno>
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
    // One byte more than expected is asked for, so the end shows at once.
    std::string content(static_cast<std::size_t>(status.st_size) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == content.size()) {
            if (used > limit)
                ThrowTooLarge(path, limit);
            content.resize(std::min(std::max(2 * used, std::size_t{65536}), limit + 1));
        }
        const ssize_t count = ::read(file.fd, content.data() + used, content.size() - used);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            CFileException::ThrowErrno(path, "cannot read the file");
        if (count == 0)
            break;
        used += static_cast<std::size_t>(count);
    }
    if (used > limit)
        ThrowTooLarge(path, limit);
    content.resize(used);
    return content;
}

} // namespace tk
