#include "platform/NewFile.h"

#include "platform/Exceptions.h"
#include "platform/TemporaryName.h"
#include "platform/Texts.h"
#include "platform/posix/FileSteps.h"
#include "platform/posix/TemporaryFile.h"
#include "platform/posix/UniqueFd.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

enum class Naming { Linked, Moved, Failed };

// A hard link gives the complete file its name only if the name is free. A
// file system without hard links (FAT, say) may still rename without
// replacing. Failed: errno tells why.
Naming TakeName(const std::string& temporary, const std::string& path)
{
    if (::link(temporary.c_str(), path.c_str()) == 0)
        return Naming::Linked;
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS)
        return Naming::Failed;
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0)
        return Naming::Moved;
    return Naming::Failed;
}

} // namespace

NewFileResult CreateNewFile(const std::string& path, std::string_view content)
{
    return CreateNewFile(path, [content](const WritePiece& write) { write(content); });
}

NewFileResult CreateNewFile(const std::string& path, const NewFileContent& content)
{
    if (::faccessat(AT_FDCWD, path.c_str(), F_OK, AT_SYMLINK_NOFOLLOW) == 0)
        return NewFileResult::NameTaken;
    RemoveStaleTemporaries(path, StaleTemporaries::InTheFolder);
    TemporaryFile temporary;
    UniqueFd fd = temporary.Create(path, 0666);
    if (!fd.Valid())
        CFileException::ThrowErrno(path, Text(text::CannotCreateFile));
    content([&](std::string_view piece) { WriteAll(path, fd, piece); });
    WriteDurably(path, fd, {});
    const Naming naming = TakeName(temporary.Path(), path);
    if (naming == Naming::Failed && errno == EEXIST)
        return NewFileResult::NameTaken;
    if (naming == Naming::Failed)
        CFileException::ThrowErrno(path, Text(text::CannotCreateFile));
    if (naming == Naming::Moved)
        temporary.Keep();
    FlushFolderOf(path);
    return NewFileResult::Created;
}

std::size_t LongestNewFileName(const std::string& folder)
{
    // The folder's file system says, where it can; NAME_MAX elsewhere.
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const std::size_t longest = limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
    const std::size_t extra = detail::TemporaryNameExtra();
    return longest > extra ? longest - extra : 0;
}

} // namespace platform
