// Read and write times of the file-backed registry store with 100,000 values.
#include "toolkit/AtomicFile.h"
#include "toolkit/regstore/RegFile.h"
#include "toolkit/regstore/RegistryStore.h"
#include "toolkit/regstore/RegistryTree.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

constexpr int kKeys = 1000;
constexpr int kValuesPerKey = 100;

// One store file for the whole run: 1,000 keys of 100 values each, strings
// and DWORDs alternating.
class StoreFile {
public:
    static const std::string& Path()
    {
        static const StoreFile file;
        return file.path_;
    }

private:
    StoreFile()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "registry-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        folder_ = pattern;
        path_ = folder_ + "/registry.reg";
        tk::RegistryTree tree;
        for (int k = 0; k < kKeys; ++k) {
            const std::string key = "Software\\Vendor\\Key" + std::to_string(k);
            for (int v = 0; v < kValuesPerKey; ++v) {
                const std::string name = "Value" + std::to_string(v);
                if (!tree.SetValue(tk::RegRoot::CurrentUser, key, name,
                                   v % 2 ? tk::RegValue::Dword(static_cast<std::uint32_t>(v))
                                         : tk::RegValue::String("C:\\Program Files\\Vendor\\" + name)))
                    throw std::runtime_error("cannot fill the registry");
            }
        }
        tk::WriteFileAtomically(path_, tk::SerialiseRegFile(tree));
    }
    ~StoreFile()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::string folder_;
    std::string path_;
};

void WarmReadOfOneValue(benchmark::State& state)
{
    tk::RegistryStore store(StoreFile::Path());
    if (!store.QueryValue(tk::RegRoot::CurrentUser, "Software\\Vendor\\Key500", "Value50"))
        state.SkipWithError("the value is missing");
    for (auto _ : state) {
        auto value = store.QueryValue(tk::RegRoot::CurrentUser, "Software\\\\Vendor\\\\Key500", "value50");
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(WarmReadOfOneValue);

void FirstReadLoadsTheFile(benchmark::State& state)
{
    for (auto _ : state) {
        tk::RegistryStore store(StoreFile::Path());
        auto value = store.QueryValue(tk::RegRoot::CurrentUser, "Software\\Vendor\\Key500", "Value50");
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(FirstReadLoadsTheFile)->Unit(benchmark::kMillisecond);

void WriteOfOneValue(benchmark::State& state)
{
    tk::RegistryStore store(StoreFile::Path());
    std::uint32_t n = 0;
    for (auto _ : state) {
        if (!store.SetValue(tk::RegRoot::CurrentUser, "Software\\Vendor\\Key500", "Value51", tk::RegValue::Dword(++n)))
            state.SkipWithError("the write failed");
    }
}
BENCHMARK(WriteOfOneValue)->Unit(benchmark::kMillisecond);

} // namespace
