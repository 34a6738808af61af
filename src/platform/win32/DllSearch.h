#pragma once
// Where the program lets Windows look for the DLLs it loads while it runs.

namespace platform::win32 {

// Limits the search for every DLL loaded from now on (by the program, the
// common dialogs, the shell's extensions) to the system folder, and drops
// the current folder from it. The programs run with the rights of an
// administrator from wherever their zip file was unpacked, a Downloads
// folder say: a DLL placed beside them must never run with those rights.
// Call it first thing, before anything loads a DLL. False where Windows
// lacks the call (Windows 7 without its update of 2011): then only the
// current folder is dropped.
bool LoadDllsFromSystemFolderOnly();

} // namespace platform::win32
