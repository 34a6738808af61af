// On Windows the registry of a run is the system's, or, with --registry
// FILE, a sandbox seeded from FILE and written back into it after the run.
// $TUNEWRIGHT_REGISTRY means nothing here: a run without the option works on
// the real registry, and a variable left over from Linux must not change that.
#include "runregistry/RunRegistry.h"

#include "regsandbox/RegistryFileMirror.h"
#include "platform/win32/Win32Registry.h"

namespace runregistry {

namespace {

class SystemRegistry final : public RunRegistry {
public:
    platform::IRegistry& Registry() override { return registry_; }
    void Finish() override {}

private:
    platform::Win32Registry registry_;
};

class MirroredRegistry final : public RunRegistry {
public:
    explicit MirroredRegistry(const std::string& file) : mirror_(file) {}
    platform::IRegistry& Registry() override { return mirror_; }
    void Finish() override { mirror_.Save(); }

private:
    regsandbox::RegistryFileMirror mirror_;
};

} // namespace

std::optional<std::string> RunRegistryFile(const std::string& file, const std::string&)
{
    if (file.empty())
        return std::nullopt;
    return file;
}

std::unique_ptr<RunRegistry> OpenRunRegistry(const std::string& file, const std::string&)
{
    if (file.empty())
        return std::make_unique<SystemRegistry>();
    return std::make_unique<MirroredRegistry>(file);
}

} // namespace runregistry
