#include "regstore/RegistryPath.h"

#include <cstdlib>

namespace regstore {

std::string DefaultRegistryPath(const std::string& applicationFolder)
{
    if (const char* env = std::getenv("TUNEWRIGHT_REGISTRY"); env && *env)
        return env;
    // Joined as bytes: the folder is a path in the system code page.
    if (applicationFolder.empty() || applicationFolder.back() == '/')
        return applicationFolder + "registry.reg";
    return applicationFolder + "/registry.reg";
}

} // namespace regstore
