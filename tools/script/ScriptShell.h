#pragma once
// The shell of a scripted run. It prints each "open" as the driver's event;
// on POSIX a registry file is then imported into the run's store, asked in a
// box of the program's window, as the terminal program does, so that a
// script can test Reverse changes to the end. On Windows the registry editor
// is the shell's, and the run only prints.
#include "platform/Registry.h"
#include "platform/Services.h"

#include <memory>

namespace tools {

// Null where the run has `printing` alone.
std::unique_ptr<platform::IShell> MakeImportingShell(platform::IRegistry& registry, platform::IShell& printing);

} // namespace tools
