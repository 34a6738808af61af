#pragma once
// A file replaced as WriteFileAtomically replaces it (AtomicFile.h), its new
// content written a piece at a time as it is made, so that a large content
// is never held whole: the temporary file takes each piece, and Commit gives
// it the file's name. A writer let go without Commit removes its temporary
// file and leaves the old file as it was.
#include "platform/posix/TemporaryFile.h"
#include "platform/posix/UniqueFd.h"

#include <string>
#include <string_view>

namespace platform {

class AtomicFileWriter {
public:
    // Makes the temporary file. Throws CFileException naming `path` where
    // WriteFileAtomically would refuse the file.
    explicit AtomicFileWriter(const std::string& path);
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Throws CFileException naming the path.
    void Write(std::string_view piece);
    // Flushes the content to disk, renames it over the file and makes the
    // rename durable. Throws CFileException naming the path; the old file is
    // then untouched.
    void Commit();

private:
    std::string path_;
    std::string target_;
    TemporaryFile temporary_;
    UniqueFd fd_;
};

} // namespace platform
