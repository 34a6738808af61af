// On POSIX the registry of a run is the text-file store, at the named
// file, else at $TUNEWRIGHT_REGISTRY, else beside the program. It writes each
// change as it happens, and is left to the process end (see ForProcess).
#include "runregistry/RunRegistry.h"

#include "regstore/RegistryPath.h"
#include "regstore/RegistryStore.h"

namespace runregistry {

namespace {

class StoreRegistry final : public RunRegistry {
public:
    explicit StoreRegistry(const std::string& path) : store_(regstore::RegistryStore::ForProcess(path)) {}
    platform::IRegistry& Registry() override { return store_; }
    void Finish() override {}

private:
    regstore::RegistryStore& store_;
};

} // namespace

std::optional<std::string> RunRegistryFile(const std::string& file, const std::string& appFolder)
{
    return file.empty() ? regstore::DefaultRegistryPath(appFolder) : file;
}

std::unique_ptr<RunRegistry> OpenRunRegistry(const std::string& file, const std::string& appFolder)
{
    return std::make_unique<StoreRegistry>(file.empty() ? regstore::DefaultRegistryPath(appFolder) : file);
}

} // namespace runregistry
