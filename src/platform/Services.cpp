#include "platform/Services.h"

#include <ctime>

namespace platform {

Services& CurrentServices()
{
    static Services services;
    return services;
}

ShellResult ShellOpen(const std::string& target)
{
    if (IShell* shell = CurrentServices().shell)
        return shell->Open(target);
    return {};
}

ShellStarted ShellOpenFollowed(const std::string& target)
{
    if (IShell* shell = CurrentServices().shell)
        return shell->OpenFollowed(target);
    return std::unique_ptr<IStartedProgram>();
}

ShellStarted IShell::OpenFollowed(const std::string& target)
{
    ShellResult opened = Open(target);
    if (!opened)
        return opened.Error();
    return std::unique_ptr<IStartedProgram>();
}

ScopedServices::ScopedServices(const Services& services) : previous_(CurrentServices())
{
    CurrentServices() = services;
}

ScopedServices::~ScopedServices()
{
    CurrentServices() = previous_;
}

LocalTime SystemClock::Now()
{
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
#ifdef _WIN32
    localtime_s(&parts, &now);
#else
    localtime_r(&now, &parts);
#endif
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min};
}

} // namespace platform
