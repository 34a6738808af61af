#include "platform/WholeFile.h"

#include "platform/Exceptions.h"
#include "platform/Texts.h"
#include "platform/win32/Win32.h"

#include <algorithm>

namespace platform::detail {

void WithRegularFile(const std::string& path, const UseFile& use)
{
    // Backup semantics let a folder be opened, so that it is refused as not a
    // regular file rather than as a file that cannot be opened.
    const win32::UniqueHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE)
        win32::ThrowLastError(path, Text(text::CannotOpenForReading));
    // A device or a pipe is refused before a byte is read.
    BY_HANDLE_FILE_INFORMATION info{};
    if (!win32::IsRegularFile(file.get(), info))
        throw CFileException(path, Text(text::NotRegular));
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size))
        win32::ThrowLastError(path, Text(text::CannotExamine));
    use(static_cast<std::uint64_t>(size.QuadPart), [&](char* buffer, std::size_t wanted) -> std::optional<std::size_t> {
        DWORD count = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(wanted, 1u << 30));
        if (!::ReadFile(file.get(), buffer, chunk, &count, nullptr))
            win32::ThrowLastError(path, Text(text::CannotReadFile));
        return static_cast<std::size_t>(count);
    });
}

} // namespace platform::detail
