#pragma once
// The shell's "open" verb on a Linux desktop: xdg-open, detached from the
// terminal, its output discarded.
#include "platform/Services.h"

#include <optional>
#include <string>

namespace backends::terminal {

class XdgOpenShell final : public platform::IShell {
public:
    platform::ShellResult Open(const std::string& target) override;
};

// The full path of an executable program found along $PATH.
std::optional<std::string> FindProgram(const std::string& name);

} // namespace backends::terminal
