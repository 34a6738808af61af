#include "platform/win32/DllSearch.h"

#include "platform/win32/Win32.h"

namespace platform::win32 {

bool LoadDllsFromSystemFolderOnly()
{
    ::SetDllDirectoryW(L"");
    // Looked up rather than imported, so that a Windows without the call
    // still starts the program. kernel32 is loaded in every process.
    using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto call = kernel ? reinterpret_cast<SetDefaultDllDirectoriesCall>(reinterpret_cast<void*>(
                                   ::GetProcAddress(kernel, "SetDefaultDllDirectories")))
                             : nullptr;
    return call && call(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

} // namespace platform::win32
