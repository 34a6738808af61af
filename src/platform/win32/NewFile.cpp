#include "platform/NewFile.h"

#include "platform/Texts.h"
#include "platform/win32/TemporaryFile.h"
#include "platform/win32/Win32.h"

namespace tk {

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
    if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return NewFileResult::NameTaken;
    RemoveStaleTemporaries(path, StaleTemporaries::InTheFolder);
    TemporaryFile temporary;
    if (!temporary.Create(path))
        win32::ThrowLastError(path, Text(text::CannotCreateFile));
    temporary.Fill(path, content);
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

} // namespace tk
