#pragma once
// What the file and folder pickers show: the entries of one folder, folders
// first, files filtered by the dialog's patterns as Windows matches them; and
// the path arithmetic of moving between folders. Paths are byte strings, kept
// as the disk gives them; the screen shows their bytes as Windows-1252.
#include <string>
#include <string_view>
#include <vector>

namespace backends::terminal {

struct FolderEntry {
    std::string name;
    bool folder = false;

    bool operator==(const FolderEntry&) const = default;
};

// One entry of a "Text files (*.txt)|*.txt;*.log|All files (*.*)|*.*"
// filter: its description and its patterns. No patterns: every file.
struct FileFilter {
    std::string description;
    std::vector<std::string> patterns;
};
// Every entry, in order; at least one.
std::vector<FileFilter> ParseFilters(std::string_view filter);

// A pattern with '*' (any run) and '?' (any one byte), letter case ignored
// in Windows-1252; "*.*" matches names without a dot too, as on Windows.
bool MatchesPattern(std::string_view name, std::string_view pattern);

struct FolderListing {
    std::vector<FolderEntry> entries; // sub-folders, then files, each by name, case ignored
    std::string error;                // why the folder could not be read; empty when it could
};

// Hidden entries (whose names begin with '.') are left out; a file shows
// when it matches one of the patterns, or when there are none.
FolderListing ListFolder(const std::string& folder, const std::vector<std::string>& patterns, bool foldersOnly);

// `name` inside `folder`.
std::string JoinPath(const std::string& folder, std::string_view name);
// The folder above; the root stays the root.
std::string ParentFolder(const std::string& folder);
// The last part of a path.
std::string_view BaseName(std::string_view path);
// A typed path made absolute against `base` (unless it starts with '/'),
// without "." and ".." parts, doubled or trailing slashes.
std::string ResolvePath(const std::string& base, std::string_view typed);
// Where a file dialog opens: the requested folder, the folder of a requested
// file, else (nothing requested, or nothing there) `current`. Relative
// requests are taken from `current`.
std::string StartFolder(const std::string& requested, const std::string& current);

} // namespace backends::terminal
