#pragma once
// Reading an open file to its end straight into a string.
#include <cstddef>
#include <string>

namespace tk {

// Reads from `fd` until its end, or until more than `limit` bytes have come,
// so that a file that grows while it is read cannot fill memory: a `content`
// longer than `limit` tells that. `sizeHint`, the size the file had, is where
// reading starts. False, with errno set, when a read fails.
bool ReadAll(int fd, std::size_t sizeHint, std::size_t limit, std::string& content);

} // namespace tk
