#include "platform/win32/Win32Services.h"

#include "platform/win32/Win32.h"

#include <shellapi.h>

namespace tk {

void ShellExecuteShell::Open(const std::string& target)
{
    ::ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

LocalTime LocalClock::Now()
{
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute};
}

std::string ModuleFileName()
{
    // A path longer than the classic limit is read whole, not cut.
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::string();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace tk
