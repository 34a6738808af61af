#include "platform/FileSystem.h"

#include "platform/Exceptions.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Services.h"

namespace platform {

bool IsFolder(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool RemoveFile(const std::string& path)
{
    return ::DeleteFileA(path.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

std::string FullPath(const std::string& path)
{
    std::string full(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = ::GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            return path;
        if (length < full.size()) {
            full.resize(length);
            break;
        }
        full.resize(length);
    }
    // "C:\" keeps its separator; so does a share's root, which ends in one.
    while (full.size() > 3 && (full.back() == '\\' || full.back() == '/'))
        full.pop_back();
    return full;
}

std::vector<FolderFile> ListFiles(const std::string& folder)
{
    WIN32_FIND_DATAA found{};
    const std::string pattern = folder + (folder.ends_with('\\') ? "*" : "\\*");
    HANDLE search = ::FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        // A drive's root without a file has not even "." to find.
        if (::GetLastError() == ERROR_FILE_NOT_FOUND && IsFolder(folder))
            return {};
        win32::ThrowLastError(folder, "cannot read the folder");
    }
    const std::unique_ptr<void, BOOL (WINAPI*)(HANDLE)> closer(search, ::FindClose);
    std::vector<FolderFile> files;
    do {
        constexpr DWORD kNotAFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT;
        if ((found.dwFileAttributes & kNotAFile) == 0)
            files.push_back({found.cFileName, static_cast<std::int64_t>(
                                                  (static_cast<std::uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                                                  found.ftLastWriteTime.dwLowDateTime)});
    } while (::FindNextFileA(search, &found));
    if (::GetLastError() != ERROR_NO_MORE_FILES)
        win32::ThrowLastError(folder, "cannot read the folder");
    return files;
}

std::string ExecutablePath()
{
    std::string path = ModuleFileName();
    if (path.empty())
        throw CException("the program cannot tell its own file: " + win32::ErrorText(::GetLastError()));
    return path;
}

} // namespace platform
