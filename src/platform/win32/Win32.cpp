#include "platform/win32/Win32.h"

#include "platform/Exceptions.h"
#include "platform/Texts.h"

#include <algorithm>

namespace platform::win32 {

std::string ErrorText(DWORD code)
{
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = length > 0 ? std::string(text, length) : "error " + std::to_string(code);
    ::LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    return result;
}

void ThrowLastError(const std::string& path, const std::string& action)
{
    const DWORD code = ::GetLastError();
    throw CFileException(path, action + " (" + ErrorText(code) + ")");
}

void WriteAll(const std::string& path, HANDLE file, std::string_view content)
{
    while (!content.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(content.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, content.data(), chunk, &written, nullptr))
            ThrowLastError(path, Text(text::CannotWrite));
        content.remove_prefix(written);
    }
}

bool IsRegularFile(HANDLE file, BY_HANDLE_FILE_INFORMATION& info)
{
    return ::GetFileType(file) == FILE_TYPE_DISK && ::GetFileInformationByHandle(file, &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

HINSTANCE ProgramInstance()
{
    return ::GetModuleHandleA(nullptr);
}

} // namespace platform::win32
