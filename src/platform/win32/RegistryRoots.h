#pragma once
// The system's handles of the five standard roots.
#include "platform/Registry.h"
#include "platform/win32/Win32.h"

namespace platform::win32 {

inline HKEY RootKey(RegRoot root)
{
    static const HKEY keys[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                                HKEY_CURRENT_CONFIG};
    return keys[static_cast<int>(root)];
}

} // namespace platform::win32
