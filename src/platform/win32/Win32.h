#pragma once
// The Windows headers as the win32 backend includes them, and owners for the
// handles it opens. Only files of this folder include it.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

namespace platform::win32 {

// The system's text for an error code, without its line end.
std::string ErrorText(DWORD code);

// A text of the program's code page for the wide functions.
std::wstring Wide(std::string_view text);

// Throws CFileException naming `path`, the action and GetLastError's text.
[[noreturn]] void ThrowLastError(const std::string& path, const std::string& action);

// Writes all of `content` to `file`. Throws CFileException naming `path`.
void WriteAll(const std::string& path, HANDLE file, std::string_view content);

struct HandleCloser {
    void operator()(HANDLE handle) const
    {
        if (handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle);
    }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

struct KeyCloser {
    void operator()(HKEY key) const { ::RegCloseKey(key); }
};
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

struct GdiDeleter {
    void operator()(void* object) const { ::DeleteObject(static_cast<HGDIOBJ>(object)); }
};
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiDeleter>;
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiDeleter>;

// Whether `file` is a file on disk, not a folder, a device such as NUL or
// CON, or a pipe; its information goes to `info`.
bool IsRegularFile(HANDLE file, BY_HANDLE_FILE_INFORMATION& info);

// The module whose resources the program's dialogs, menus and pictures come
// from: the program file itself.
HINSTANCE ProgramInstance();

} // namespace platform::win32
