#pragma once
// The temporary file that a new version of a file is written to before it
// takes its name, shared by the Windows writers; named as on POSIX (see
// TemporaryName.h), so that the leftovers of a killed writer are recognised.
#include "platform/TemporaryName.h"
#include "platform/win32/Win32.h"

#include <string>
#include <string_view>

namespace platform {

// Removes the file unless Keep() says it has become the file.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates the temporary file for `target`; false, with GetLastError
    // telling why, when it cannot.
    bool Create(const std::string& target);
    // Writes all of `piece` after what was written before. Throws
    // CFileException naming `path`.
    void Write(const std::string& path, std::string_view piece);
    // Writes all of `content`, flushes it to disk and closes the file: what
    // it needs before it takes its name. Throws CFileException naming `path`.
    void Fill(const std::string& path, std::string_view content);
    const std::string& Path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    win32::UniqueHandle handle_{INVALID_HANDLE_VALUE};
    std::string path_;
};

} // namespace platform
