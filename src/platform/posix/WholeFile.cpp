#include "platform/WholeFile.h"

#include "platform/Exceptions.h"
#include "platform/Texts.h"
#include "platform/posix/ReadAll.h"
#include "platform/posix/UniqueFd.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::detail {

void WithRegularFile(const std::string& path, const UseFile& use)
{
    // O_NONBLOCK only keeps the open of a pipe without writer from waiting;
    // such a file is refused below, and a regular file reads the same with it.
    const UniqueFd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.Valid())
        CFileException::ThrowErrno(path, Text(text::CannotOpenForReading));
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0)
        CFileException::ThrowErrno(path, Text(text::CannotExamine));
    if (!S_ISREG(status.st_mode))
        throw CFileException(path, Text(text::NotRegular));
    use(static_cast<std::uint64_t>(status.st_size), [&](char* buffer, std::size_t size) {
        const auto count = ReadOnce(file.Get(), buffer, size);
        if (!count)
            CFileException::ThrowErrno(path, Text(text::CannotReadFile));
        return count;
    });
}

} // namespace platform::detail
