#include "platform/posix/ReadAll.h"

#include "platform/WholeFile.h"

#include <cerrno>
#include <unistd.h>

namespace platform {

std::optional<std::size_t> ReadOnce(int fd, char* buffer, std::size_t size)
{
    for (;;) {
        const ssize_t count = ::read(fd, buffer, size);
        if (count >= 0)
            return static_cast<std::size_t>(count);
        if (errno != EINTR)
            return std::nullopt;
    }
}

bool ReadAll(int fd, std::size_t sizeHint, std::size_t limit, std::string& content)
{
    return detail::ReadAtMost(
        sizeHint, limit, [fd](char* buffer, std::size_t size) { return ReadOnce(fd, buffer, size); }, content);
}

} // namespace platform
