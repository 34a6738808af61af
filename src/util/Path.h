#pragma once
// Paths as byte strings in the system code page, joined as strings: a path
// never passes through std::filesystem::path, which on Windows would turn it
// into UTF-8.
#include <string>

namespace util {

// The separator of the platform: '\' on Windows, '/' elsewhere.
char PathSeparator();

// `name` inside `folder`, with one separator between them; an empty folder
// gives `name` itself.
std::string JoinPath(const std::string& folder, const std::string& name);

// The folder part of a file's path, found by the last separator and without
// a trailing one, except for a root ("/", "C:\"), which keeps it so that paths
// joined to it stay absolute. Empty when the path has no separator.
std::string FolderOf(const std::string& path);

// A file's name without its folder: the whole path when it has none.
std::string FileNameOf(const std::string& path);

} // namespace util
