#pragma once
// The registry of a program run from a command line, the headless driver's
// and the command line tool's: on Linux the text-file store (the file named,
// else $TUNEWRIGHT_REGISTRY, else registry.reg in the application folder);
// on Windows the system's registry, or with a file named a sandbox seeded
// from that file and written back into it after the run.
#include "platform/Registry.h"

#include <memory>
#include <optional>
#include <string>

namespace runregistry {

class RunRegistry {
public:
    virtual ~RunRegistry() = default;
    virtual platform::IRegistry& Registry() = 0;
    // After the run: what the run changed is kept.
    virtual void Finish() = 0;
};

// The file that the registry of a run lies in, which must exist: the store on
// POSIX, the sandbox's file on Windows; none for the system's registry.
std::optional<std::string> RunRegistryFile(const std::string& file, const std::string& appFolder);

// `file` is the --registry option, empty when none was given. Throws
// platform::CException when that registry cannot be used.
std::unique_ptr<RunRegistry> OpenRunRegistry(const std::string& file, const std::string& appFolder);

} // namespace runregistry
