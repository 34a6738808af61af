#include "platform/win32/Accounts.h"

#include "platform/win32/Win32.h"

#include <vector>

namespace platform::win32 {

namespace {

// The token's user, as the bytes of a TOKEN_USER.
std::optional<std::vector<unsigned char>> TokenUser(HANDLE process)
{
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(process, TOKEN_QUERY, &raw))
        return std::nullopt;
    const UniqueHandle token(raw);
    DWORD size = 0;
    ::GetTokenInformation(raw, ::TokenUser, nullptr, 0, &size);
    if (size == 0)
        return std::nullopt;
    std::vector<unsigned char> user(size);
    if (!::GetTokenInformation(raw, ::TokenUser, user.data(), size, &size))
        return std::nullopt;
    return user;
}

PSID SidOf(std::vector<unsigned char>& user)
{
    return reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
}

std::string AccountName(PSID sid)
{
    char name[256];
    char domain[256];
    DWORD nameSize = sizeof name;
    DWORD domainSize = sizeof domain;
    SID_NAME_USE use;
    if (!::LookupAccountSidA(nullptr, sid, name, &nameSize, domain, &domainSize, &use))
        return "?";
    return domainSize > 0 ? std::string(domain) + "\\" + name : std::string(name);
}

} // namespace

std::optional<AccountPair> OtherThanDesktopAccount()
{
    const HWND shell = ::GetShellWindow();
    DWORD shellProcessId = 0;
    if (!shell || !::GetWindowThreadProcessId(shell, &shellProcessId) || shellProcessId == 0)
        return std::nullopt;
    const UniqueHandle shellProcess(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, shellProcessId));
    if (!shellProcess.get())
        return std::nullopt;
    auto desktop = TokenUser(shellProcess.get());
    auto program = TokenUser(::GetCurrentProcess());
    if (!desktop || !program || ::EqualSid(SidOf(*desktop), SidOf(*program)))
        return std::nullopt;
    return AccountPair{AccountName(SidOf(*program)), AccountName(SidOf(*desktop))};
}

} // namespace platform::win32
