#pragma once
#include <string>

namespace regstore {

// Where the registry store of a Linux installation lies: $TUNEWRIGHT_REGISTRY
// when set, otherwise registry.reg in the application folder.
std::string DefaultRegistryPath(const std::string& applicationFolder);

} // namespace regstore
