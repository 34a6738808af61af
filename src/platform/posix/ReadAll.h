#pragma once
// Reading an open file to its end straight into a string.
#include <cstddef>
#include <optional>
#include <string>

namespace platform {

// One read(2) of `fd`, tried again when a signal interrupts it: the bytes it
// put into the buffer, 0 at the end, nothing (errno set) when it failed.
std::optional<std::size_t> ReadOnce(int fd, char* buffer, std::size_t size);

// Reads from `fd` until its end, or until more than `limit` bytes have come,
// so that a file that grows while it is read cannot fill memory: a `content`
// longer than `limit` tells that. `sizeHint`, the size the file had, is where
// reading starts. False, with errno set, when a read fails.
bool ReadAll(int fd, std::size_t sizeHint, std::size_t limit, std::string& content);

} // namespace platform
