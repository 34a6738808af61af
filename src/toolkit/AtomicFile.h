#pragma once
// Replacing a file so that a crash or a full disk never leaves it truncated:
// the new content goes to a temporary file in the same folder, is flushed to
// disk and then renamed over the old file.
#include <string>
#include <string_view>

namespace tk {

// Throws CFileException naming `path` when any step fails; the old file is
// then untouched and the temporary file removed.
void WriteFileAtomically(const std::string& path, std::string_view content);

} // namespace tk
