#include "toolkit/WholeFile.h"

#include "toolkit/Exceptions.h"

#include <algorithm>

namespace tk::detail {

namespace {

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

std::string ReadUpToLimit(const std::string& path, std::size_t limit, std::uint64_t reportedSize,
                          const ReadSome& read)
{
    if (reportedSize > limit)
        ThrowTooLarge(path, limit);
    // The size is only where reading starts: a file may grow while it is read,
    // and some report no size at all, so the limit holds for what is read.
    // One byte more than expected is asked for, so the end shows at once.
    std::string content(static_cast<std::size_t>(reportedSize) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == content.size()) {
            if (used > limit)
                ThrowTooLarge(path, limit);
            content.resize(std::min(std::max(2 * used, std::size_t{65536}), limit + 1));
        }
        const std::size_t count = read(content.data() + used, content.size() - used);
        if (count == 0)
            break;
        used += count;
    }
    if (used > limit)
        ThrowTooLarge(path, limit);
    content.resize(used);
    return content;
}

} // namespace tk::detail
