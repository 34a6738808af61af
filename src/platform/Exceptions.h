#pragma once
// Errors that end the operation in progress. Handlers do not catch them: the
// toolkit's message dispatch reports them in its standard error box, as the
// dialog framework does for a failure inside a message handler.
#include <stdexcept>
#include <string>

namespace platform {

class CException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file could not be opened, read or written. The message names the file and
// the cause, so the error box tells the user what to fix.
class CFileException : public CException {
public:
    CFileException(std::string path, std::string cause);

    const std::string& Path() const { return path_; }
    const std::string& Cause() const { return cause_; }

    // Throws with the cause taken from errno.
    [[noreturn]] static void ThrowErrno(const std::string& path, const std::string& action);

private:
    std::string path_;
    std::string cause_;
};

} // namespace platform
