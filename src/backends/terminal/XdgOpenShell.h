#pragma once
// The shell's "open" verb on a Linux desktop: xdg-open, detached from the
// terminal, its output discarded.
#include "platform/Services.h"

#include <optional>
#include <string>

namespace tk {

class XdgOpenShell final : public IShell {
public:
    ShellResult Open(const std::string& target) override;
};

// The full path of an executable program found along $PATH.
std::optional<std::string> FindProgram(const std::string& name);

} // namespace tk
