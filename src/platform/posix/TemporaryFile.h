#pragma once
// The temporary file that a new version of a file is written to before it
// takes its name, shared by the POSIX writers. It is named
// ".<name>.tw-<pid>-XXXXXX" after the file it becomes, in the same folder, so
// that a writer killed before the file took its name leaves something that
// the next writer can recognise as its own and remove.
#include "platform/TemporaryName.h"
#include "platform/posix/UniqueFd.h"

#include <string>
#include <sys/types.h>

namespace platform {

// Removes the file unless Keep() says it has become the file.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates the temporary file for `target`; invalid, with errno telling
    // why, when it cannot.
    UniqueFd Create(const std::string& target, mode_t mode);
    const std::string& Path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    std::string path_;
};

} // namespace platform
