#pragma once
// Reading a data file whole. Only a regular file is read, never a device, a
// pipe or a folder, and never more than a given number of bytes, so that a
// wrong file in place of a data file cannot block the program or fill its
// memory.
#include <cstddef>
#include <string>

namespace tk {

// The bytes of the regular file at path. Opening never waits. Throws
// CFileException naming the file when it cannot be opened or read, is not a
// regular file, or holds more than `limit` bytes.
std::string ReadWholeFile(const std::string& path, std::size_t limit);

} // namespace tk
