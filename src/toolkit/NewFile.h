#pragma once
// Creating a file that must never replace another one, a backup say: the
// name is taken only when no file, folder or link of that name exists
// (O_CREAT|O_EXCL on POSIX, CREATE_NEW on Windows), so two writers at once
// never share a name.
#include <string>
#include <string_view>

namespace tk {

enum class NewFileResult { Created, NameTaken };

// Creates `path`, writes all of `content` and flushes it to disk. NameTaken:
// something of that name exists and nothing was touched. Any other failure
// throws CFileException naming `path`, and the file is not left behind.
[[nodiscard]] NewFileResult CreateNewFile(const std::string& path, std::string_view content);

} // namespace tk
