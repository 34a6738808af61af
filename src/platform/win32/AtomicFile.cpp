#include "platform/AtomicFile.h"

#include "platform/Exceptions.h"
#include "platform/Texts.h"
#include "platform/win32/TemporaryFile.h"
#include "platform/win32/Win32.h"

namespace platform {

namespace {

// What is at `target` now: nothing, a file on disk (read-only or not), or
// something else (a folder, a device such as NUL).
enum class Existing { None, File, ReadOnlyFile, Other };

Existing Examine(const std::string& target)
{
    const win32::UniqueHandle file(::CreateFileA(target.c_str(), 0,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE)
        return Existing::None;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!win32::IsRegularFile(file.get(), info))
        return Existing::Other;
    return (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0 ? Existing::ReadOnlyFile : Existing::File;
}

} // namespace

// A link on Windows is a reparse point; the system resolves it when the file
// is opened, and the path it ends at is asked of the open file.
std::string FileBehindLinks(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return path;
    const win32::UniqueHandle file(::CreateFileA(path.c_str(), 0,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE)
        return path;
    std::string final(MAX_PATH, '\0');
    DWORD length = ::GetFinalPathNameByHandleA(file.get(), final.data(), static_cast<DWORD>(final.size()), 0);
    if (length >= final.size()) {
        final.resize(length);
        length = ::GetFinalPathNameByHandleA(file.get(), final.data(), static_cast<DWORD>(final.size()), 0);
    }
    if (length == 0 || length >= final.size())
        win32::ThrowLastError(path, Text(text::LinkCannotFollow));
    final.resize(length);
    constexpr std::string_view kLongPrefix = "\\\\?\\";
    if (final.starts_with(kLongPrefix))
        final.erase(0, kLongPrefix.size());
    return final;
}

void WriteFileAtomically(const std::string& path, std::string_view content)
{
    const std::string target = FileBehindLinks(path);
    const Existing existing = Examine(target);
    if (existing == Existing::Other)
        throw CFileException(path, Text(text::NotRegularNotReplaced));
    if (existing == Existing::ReadOnlyFile)
        throw CFileException(path, Text(text::IsReadOnly));
    const bool replacing = existing == Existing::File;
    RemoveStaleTemporaries(target, StaleTemporaries::OfThisFile);

    TemporaryFile temporary;
    if (!temporary.Create(target))
        win32::ThrowLastError(path, Text(text::CannotCreateTemporary));
    temporary.Fill(path, content);
    // Replacing keeps the old file's attributes and security; a new file
    // is moved into place.
    const bool done = replacing ? ::ReplaceFileA(target.c_str(), temporary.Path().c_str(), nullptr,
                                                 REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                                : ::MoveFileExA(temporary.Path().c_str(), target.c_str(),
                                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!done)
        win32::ThrowLastError(path, Text(text::CannotReplace));
    temporary.Keep();
}

} // namespace platform
