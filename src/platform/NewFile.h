#pragma once
// Creating a file that must never replace another one, a backup say: the
// content is written and flushed under a temporary name first (see
// AtomicFile.h), and the complete file then takes its name only when no file,
// folder or link of that name exists (a hard link on POSIX, a move that
// replaces nothing on Windows). Two writers at once never share a name, and a
// writer killed at any moment leaves no partial file under the name; the
// temporary file it leaves is removed by the next file created in the folder.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

enum class NewFileResult { Created, NameTaken };

// Creates `path` with all of `content`, flushed to disk. NameTaken: something
// of that name exists and nothing was touched. Any other failure
// throws CFileException naming `path`, and the file is not left behind.
[[nodiscard]] NewFileResult CreateNewFile(const std::string& path, std::string_view content);

// Takes the next piece of a file's content.
using WritePiece = std::function<void(std::string_view piece)>;
// Hands a file's content to `write` a piece at a time, in order, so that a
// large content is never held whole; it may be asked again for a file whose
// name was taken meanwhile. Its exceptions leave no file behind either.
using NewFileContent = std::function<void(const WritePiece& write)>;

// CreateNewFile of a content made as it is written.
[[nodiscard]] NewFileResult CreateNewFile(const std::string& path, const NewFileContent& content);

// The longest name that CreateNewFile can give a file in `folder`: its
// temporary name, which is longer, must fit too, and on Windows the whole
// path must stay within what the narrow file functions take.
std::size_t LongestNewFileName(const std::string& folder);

} // namespace platform
