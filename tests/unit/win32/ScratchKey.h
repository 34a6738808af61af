#pragma once
// A key of the test's own, below HKEY_CURRENT_USER\Software\TunewrightTest
// under a random name: it and everything below it go with the object, however
// the test ends.
#include "platform/win32/Win32.h"

#include <random>
#include <string>

class ScratchKey {
public:
    ScratchKey() : subKey_("Software\\TunewrightTest\\" + std::to_string(std::random_device{}())) {}
    ~ScratchKey() { ::RegDeleteTreeA(HKEY_CURRENT_USER, subKey_.c_str()); }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    // Below HKEY_CURRENT_USER.
    const std::string& SubKey() const { return subKey_; }

private:
    std::string subKey_;
};
