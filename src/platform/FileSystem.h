#pragma once
// Folders and full paths as the system names them: byte strings in the
// system code page, passed to the system as they are.
#include <string>

namespace tk {

// Whether `path` names a folder.
bool IsFolder(const std::string& path);

// `path` made absolute against the current folder, without "." and ".."
// steps and without a trailing separator, except in a root ("/", "C:\").
std::string FullPath(const std::string& path);

} // namespace tk
