#include "toolkit/NewFile.h"

#include "toolkit/Exceptions.h"
#include "toolkit/posix/FileSteps.h"
#include "toolkit/posix/UniqueFd.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tk {

namespace {

// Removes the file unless it was written completely.
class PartialFile {
public:
    explicit PartialFile(const std::string& path) : path_(path) {}
    ~PartialFile()
    {
        if (!complete_)
            ::unlink(path_.c_str());
    }
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;
    void Complete() { complete_ = true; }

private:
    const std::string& path_;
    bool complete_ = false;
};

} // namespace

NewFileResult CreateNewFile(const std::string& path, std::string_view content)
{
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
    if (!fd.Valid() && errno == EEXIST)
        return NewFileResult::NameTaken;
    if (!fd.Valid())
        CFileException::ThrowErrno(path, "cannot create the file");
    PartialFile partial(path);
    WriteAll(path, fd.Get(), content);
    if (::fsync(fd.Get()) != 0)
        CFileException::ThrowErrno(path, "cannot flush to disk");
    if (!fd.Close())
        CFileException::ThrowErrno(path, "cannot write");
    partial.Complete();
    FlushFolderOf(path);
    return NewFileResult::Created;
}

} // namespace tk
