#pragma once
// Platform services other than windows: the registry, the shell, the clock and
// the executable's own path. A backend installs the real ones at start-up;
// tests install fakes with ScopedServices.
#include "platform/Result.h"

#include <memory>
#include <string>

namespace platform {

class IRegistry;

struct LocalTime {
    int year = 0;
    int month = 0;  // 1-12
    int day = 0;    // 1-31
    int hour = 0;   // 0-23
    int minute = 0; // 0-59
};

class IClock {
public:
    virtual ~IClock() = default;
    virtual LocalTime Now() = 0;
};

// Why the shell could not open a target, in the system's words and without a
// closing full stop ("No application is associated with the specified file
// for this operation").
using ShellResult = Result<void, std::string>;

// A program that the shell started for a target, followed until it ends.
class IStartedProgram {
public:
    virtual ~IStartedProgram() = default;
    // Whether it has ended; never waits.
    virtual bool HasEnded() = 0;
};

// The program started for a target, or none where the shell did its work
// before it returned or cannot follow the program it started; or why no
// program could be started.
using ShellStarted = Result<std::unique_ptr<IStartedProgram>, std::string>;

class IShell {
public:
    virtual ~IShell() = default;
    // The shell's "open" verb: a document, folder, program or web address with
    // its associated program. Fails when no program could be started for the
    // target; what a program that started does is not reported back.
    virtual ShellResult Open(const std::string& target) = 0;
    // Open, and the program it started where the platform can follow it:
    // none here.
    virtual ShellStarted OpenFollowed(const std::string& target);
};

struct Services {
    IRegistry* registry = nullptr;
    IShell* shell = nullptr;
    IClock* clock = nullptr;
    // Full path of the program file, in the system code page.
    std::string executablePath;
};

Services& CurrentServices();

// The shell's "open" of `target`, when a shell is installed; without one
// nothing is opened and nothing fails.
ShellResult ShellOpen(const std::string& target);
ShellStarted ShellOpenFollowed(const std::string& target);

// Installs services for the lifetime of the object and restores the previous
// ones afterwards.
class ScopedServices {
public:
    explicit ScopedServices(const Services& services);
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    Services previous_;
};

// A clock that always tells the same time (tests, scripted runs).
class FixedClock final : public IClock {
public:
    explicit FixedClock(LocalTime time) : time_(time) {}
    LocalTime Now() override { return time_; }

private:
    LocalTime time_;
};

// The clock of the machine, in local time.
class SystemClock final : public IClock {
public:
    LocalTime Now() override;
};

} // namespace platform
