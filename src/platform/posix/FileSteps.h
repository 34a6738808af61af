#pragma once
// Steps that the POSIX file writers share.
#include "platform/posix/UniqueFd.h"

#include <string>
#include <string_view>

namespace platform {

// Writes all of `content` to `fd`, going on after short and interrupted
// writes. Throws CFileException naming `path`.
void WriteAll(const std::string& path, const UniqueFd& fd, std::string_view content);

// Writes all of `content` to `fd`, flushes it to disk and closes it: what a
// new file needs before it takes its name. Throws CFileException naming
// `path`.
void WriteDurably(const std::string& path, UniqueFd& fd, std::string_view content);

// The folder part of a path: "." when there is none, "/" for the root.
std::string FolderOf(const std::string& path);

// `name` in the folder of `path`.
std::string Beside(const std::string& path, const std::string& name);

// Makes a new name in the folder of `path` durable. Best effort: some file
// systems cannot flush a folder, and the file's own data are flushed already.
void FlushFolderOf(const std::string& path);

} // namespace platform
