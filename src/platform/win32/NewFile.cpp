#include "platform/NewFile.h"

#include "platform/TemporaryName.h"
#include "platform/Texts.h"
#include "platform/win32/TemporaryFile.h"
#include "platform/win32/Win32.h"

#include <algorithm>

namespace platform {

namespace {

// A folder of the name makes the system refuse access rather than say the
// name exists.
bool NameExists(const std::string& path, DWORD error)
{
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
           (error == ERROR_ACCESS_DENIED && ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES);
}

} // namespace

NewFileResult CreateNewFile(const std::string& path, std::string_view content)
{
    return CreateNewFile(path, [content](const WritePiece& write) { write(content); });
}

NewFileResult CreateNewFile(const std::string& path, const NewFileContent& content)
{
    if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return NewFileResult::NameTaken;
    RemoveStaleTemporaries(path, StaleTemporaries::InTheFolder);
    TemporaryFile temporary;
    if (!temporary.Create(path))
        win32::ThrowLastError(path, Text(text::CannotCreateFile));
    content([&](std::string_view piece) { temporary.Write(path, piece); });
    temporary.Fill(path, {});
    // Without MOVEFILE_REPLACE_EXISTING the move takes the name only while it
    // is free, so the complete file appears under it at once or not at all.
    if (!::MoveFileExA(temporary.Path().c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        if (NameExists(path, error))
            return NewFileResult::NameTaken;
        ::SetLastError(error);
        win32::ThrowLastError(path, Text(text::CannotCreateFile));
    }
    temporary.Keep();
    return NewFileResult::Created;
}

std::size_t LongestNewFileName(const std::string& folder)
{
    // A name may have 255 characters, and a path MAX_PATH - 1: the folder,
    // a separator and the name.
    constexpr std::size_t kLongestName = 255;
    constexpr std::size_t kLongestPath = MAX_PATH - 1;
    const std::size_t inPath = kLongestPath > folder.size() + 1 ? kLongestPath - folder.size() - 1 : 0;
    const std::size_t longest = std::min(kLongestName, inPath);
    const std::size_t extra = detail::TemporaryNameExtra();
    return longest > extra ? longest - extra : 0;
}

} // namespace platform
