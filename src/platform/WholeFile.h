#pragma once
// Reading a data file whole. Only a regular file is read, never a device, a
// pipe or a folder, and never more than a given number of bytes, so that a
// wrong file in place of a data file cannot block the program or fill its
// memory.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The bytes of the regular file at path. Opening never waits. Throws
// CFileException naming the file when it cannot be opened or read, is not a
// regular file, or holds more than `limit` bytes.
std::string ReadWholeFile(const std::string& path, std::size_t limit);

// Whole lines of a file, a piece at a time, for a reader that needs only part
// of a large file and would otherwise touch fresh memory for all of it: each
// piece ends after a line feed or at the end of the file, and is handed to
// `take` until it returns false. A line longer than a piece makes the piece
// grow to hold it. Throws as ReadWholeFile does.
using TakePiece = std::function<bool(std::string_view piece)>;
void ReadFileInPieces(const std::string& path, std::size_t limit, const TakePiece& take);

// The same file for a reader that asks for its bytes (a parser that pulls
// its text): `use` gets a read of the open file, which puts up to `size`
// bytes into `buffer` and gives their number, 0 at the end. The read throws
// as ReadWholeFile does, also when more than `limit` bytes have come.
using ReadPart = std::function<std::size_t(char* buffer, std::size_t size)>;
void ReadFileAsItGoes(const std::string& path, std::size_t limit, const std::function<void(const ReadPart& read)>& use);

namespace detail {

// One read of an open file: the bytes it put into the buffer, 0 at the end,
// nothing when it failed.
using ReadSome = std::function<std::optional<std::size_t>(char* buffer, std::size_t size)>;

// Reads with `read` until the end, or until more than `limit` bytes have
// come, so that a file that grows while it is read cannot fill memory: a
// `content` longer than `limit` tells that. `sizeHint`, the size the file
// had, is where reading starts. False when a read failed.
[[nodiscard]] bool ReadAtMost(std::size_t sizeHint, std::size_t limit, const ReadSome& read, std::string& content);

// The platforms' common part of ReadWholeFile, once the file is open and
// known to be regular: reads it whole with `read` (which throws when it
// fails), keeping to `limit` whatever size the file reported.
std::string ReadUpToLimit(const std::string& path, std::size_t limit, std::uint64_t reportedSize,
                          const ReadSome& read);

// `read` as ReadFileAsItGoes hands it on: it throws when it fails or once
// more than `limit` bytes have come; a file whose reported size is past the
// limit is refused at once.
ReadPart LimitedRead(const std::string& path, std::size_t limit, std::uint64_t reportedSize, const ReadSome& read);

// The pieces of ReadFileInPieces from `read`, `pieceBytes` at a time.
void ReadPieces(const ReadPart& read, std::size_t pieceBytes, const TakePiece& take);

// Opens the regular file at path without waiting and hands `use` its size and
// a read of it; each platform's own. Throws CFileException naming the file
// when it cannot be opened, examined or read, or is not a regular file.
using UseFile = std::function<void(std::uint64_t reportedSize, const ReadSome& read)>;
void WithRegularFile(const std::string& path, const UseFile& use);

} // namespace detail

} // namespace platform
