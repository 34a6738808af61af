#pragma once
// Folders and full paths as the system names them: byte strings in the
// system code page, passed to the system as they are.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Whether `path` names a folder.
bool IsFolder(const std::string& path);

// Whether anything, a file or a folder, has the name `path`.
bool Exists(const std::string& path);

// Removes the file `path`: false when it is there still.
[[nodiscard]] bool RemoveFile(const std::string& path);

// `path` made absolute against the current folder, without "." and ".."
// steps and without a trailing separator, except in a root ("/", "C:\").
std::string FullPath(const std::string& path);

// A regular file of a folder: its name, and when it was last written, in
// units of the system that compare with the other files' times.
struct FolderFile {
    std::string name;
    std::int64_t modified = 0;
};

// The regular files directly in `folder`, in no particular order. Throws
// CFileException naming the folder when it cannot be read.
std::vector<FolderFile> ListFiles(const std::string& folder);

// The full path of the running program's file. Throws CException when the
// system does not tell it.
std::string ExecutablePath();

} // namespace platform
