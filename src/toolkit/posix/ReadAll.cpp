#include "toolkit/posix/ReadAll.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace tk {

bool ReadAll(int fd, std::size_t sizeHint, std::size_t limit, std::string& content)
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
        const ssize_t count = ::read(fd, content.data() + used, content.size() - used);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return false;
        if (count == 0)
            break;
        used += static_cast<std::size_t>(count);
    }
    content.resize(used);
    return true;
}

} // namespace tk
