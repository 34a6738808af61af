#include "toolkit/RegistryPath.h"

#include <cstdlib>
#include <filesystem>

namespace tk {

std::string DefaultRegistryPath(const std::string& applicationFolder)
{
    if (const char* env = std::getenv("TUNEWRIGHT_REGISTRY"); env && *env)
        return env;
    return (std::filesystem::path(applicationFolder) / "registry.reg").string();
}

} // namespace tk
