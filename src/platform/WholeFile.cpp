#include "platform/WholeFile.h"

#include "platform/Exceptions.h"
#include "platform/Texts.h"

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
    throw CFileException(path, Text(text::TooLarge, {SizeText(limit)}));
}

} // namespace

bool ReadAtMost(std::size_t sizeHint, std::size_t limit, const ReadSome& read, std::string& content)
{
    // One byte more than expected is asked for, so that the end shows at once.
    content.assign(std::min(sizeHint, limit) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == content.size()) {
            if (used > limit)
                break;
            content.resize(std::min(std::max(2 * used, std::size_t{65536}), limit + 1));
        }
        const std::optional<std::size_t> count = read(content.data() + used, content.size() - used);
        if (!count)
            return false;
        if (*count == 0)
            break;
        used += *count;
    }
    content.resize(used);
    return true;
}

std::string ReadUpToLimit(const std::string& path, std::size_t limit, std::uint64_t reportedSize,
                          const ReadSome& read)
{
    if (reportedSize > limit)
        ThrowTooLarge(path, limit);
    // The size is only where reading starts: a file may grow while it is read,
    // and some report no size at all, so the limit holds for what is read.
    std::string content;
    if (!ReadAtMost(static_cast<std::size_t>(reportedSize), limit, read, content))
        throw CFileException(path, Text(text::CannotReadFile));
    if (content.size() > limit)
        ThrowTooLarge(path, limit);
    return content;
}

} // namespace tk::detail
