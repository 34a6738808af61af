#pragma once
// The platform services of the Windows program: the shell's "open" verb, the
// local clock and the path of the program file.
#include "platform/Services.h"

#include <string>

namespace platform {

class ShellExecuteShell final : public IShell {
public:
    ShellResult Open(const std::string& target) override;
    // Follows the process that the shell started, where it started one.
    ShellStarted OpenFollowed(const std::string& target) override;
};

class LocalClock final : public IClock {
public:
    LocalTime Now() override;
};

// The full path of the program file, in the system code page.
std::string ModuleFileName();

} // namespace platform
