#include "platform/win32/Win32Services.h"

#include "platform/win32/Win32.h"

#include <shellapi.h>

namespace platform {

namespace {

// The error of a ShellExecute result that is no system error code itself.
struct ShellError {
    INT_PTR result;
    DWORD error;
};
constexpr ShellError kShellErrors[] = {
    {0, ERROR_OUTOFMEMORY},
    {SE_ERR_SHARE, ERROR_SHARING_VIOLATION},
    {SE_ERR_ASSOCINCOMPLETE, ERROR_NO_ASSOCIATION},
    {SE_ERR_DDETIMEOUT, ERROR_DDE_FAIL},
    {SE_ERR_DDEFAIL, ERROR_DDE_FAIL},
    {SE_ERR_DDEBUSY, ERROR_DDE_FAIL},
    {SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION},
    {SE_ERR_DLLNOTFOUND, ERROR_DLL_NOT_FOUND},
};

// The system's words for `error`, without a closing full stop.
std::string ShellCause(DWORD error)
{
    std::string cause = win32::ErrorText(error);
    if (cause.ends_with('.'))
        cause.pop_back();
    return cause;
}

// The system error of a ShellExecute result of 32 or below.
DWORD ShellResultError(INT_PTR result)
{
    for (const ShellError& known : kShellErrors)
        if (known.result == result)
            return known.error;
    return static_cast<DWORD>(result);
}

// A program that ShellExecuteEx started, followed through its process.
class StartedProcess final : public IStartedProgram {
public:
    explicit StartedProcess(HANDLE process) : process_(process) {}
    bool HasEnded() override { return ::WaitForSingleObject(process_.get(), 0) != WAIT_TIMEOUT; }

private:
    win32::UniqueHandle process_;
};

} // namespace

ShellResult ShellExecuteShell::Open(const std::string& target)
{
    const auto result =
        reinterpret_cast<INT_PTR>(::ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    // Above 32: a program was started.
    if (result > 32)
        return {};
    return ShellCause(ShellResultError(result));
}

ShellStarted ShellExecuteShell::OpenFollowed(const std::string& target)
{
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    // As ShellExecute: a failure comes back to be told, not shown by the shell.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = target.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExA(&info)) {
        // The result ShellExecute would give, where there is one: Wine's last
        // error is no cause of the failure then.
        const DWORD lastError = ::GetLastError();
        const auto result = reinterpret_cast<INT_PTR>(info.hInstApp);
        return ShellCause(result >= 0 && result <= 32 ? ShellResultError(result) : lastError);
    }
    // No process where the target went to a program that was running
    // already (through DDE, say): nothing to follow.
    if (!info.hProcess)
        return std::unique_ptr<IStartedProgram>();
    return std::unique_ptr<IStartedProgram>(std::make_unique<StartedProcess>(info.hProcess));
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

} // namespace platform
