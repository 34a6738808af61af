#pragma once
// Reading a data file whole. Only a regular file is read, never a device, a
// pipe or a folder, and never more than a given number of bytes, so that a
// wrong file in place of a data file cannot block the program or fill its
// memory.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace tk {

// The bytes of the regular file at path. Opening never waits. Throws
// CFileException naming the file when it cannot be opened or read, is not a
// regular file, or holds more than `limit` bytes.
std::string ReadWholeFile(const std::string& path, std::size_t limit);

namespace detail {

// The platforms' common part of ReadWholeFile, once the file is open and
// known to be regular: reads with `read` (which answers the bytes it put into
// the buffer, 0 at the end, or throws) until the end, keeping to `limit`
// whatever size the file reported.
using ReadSome = std::function<std::size_t(char* buffer, std::size_t size)>;
std::string ReadUpToLimit(const std::string& path, std::size_t limit, std::uint64_t reportedSize,
                          const ReadSome& read);

} // namespace detail

} // namespace tk
