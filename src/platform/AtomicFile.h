#pragma once
// Replacing a file so that a crash or a full disk never leaves it truncated:
// the new content goes to a temporary file beside it, is flushed to disk and
// then renamed over the old file.
//
// The file replaced is the one the path finally names: a symbolic link, or a
// chain of them, stays a link and its target gets the new content. The new
// file keeps the old one's mode and, where the system allows, its owner. A
// file that the user may not write is refused, as an editor refuses it, even
// though a rename would replace it.
//
// A temporary file is named ".<name>.tw-<pid>-XXXXXX". A writer killed before
// its rename leaves it behind; the next write of the same file removes such
// files of processes that no longer run, never one of a live writer.
#include <string>
#include <string_view>

namespace platform {

// Throws CFileException naming `path` when any step fails; the old file is
// then untouched and the temporary file removed.
void WriteFileAtomically(const std::string& path, std::string_view content);

// The file that `path` names once every symbolic link is followed: `path`
// itself when it is no link. The file need not exist. Throws CFileException
// naming `path` for a chain of links that does not end.
std::string FileBehindLinks(const std::string& path);

} // namespace platform
