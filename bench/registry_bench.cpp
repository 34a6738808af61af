// The file-backed registry store of a large installation (support/
// Installation.h): 100,000 values, and four times that.
//
// - FirstRead: a store object that has not read the file yet answers the
//   start-up question's value; baseline: reading the file's bytes once.
// - WarmRead: the same store asked again, the file unchanged; baseline: one
//   stat of the file, which every read needs to notice a change.
// - Write: one value changed in a store that has been read and written
//   before; FirstWrite: the first change after the first read. Baseline: one
//   durable write of a file of the same size (temporary file, fsync, rename,
//   fsync of the folder).
#include "support/Installation.h"
#include "support/Table.h"
#include "platform/AtomicFile.h"
#include "regstore/RegistryStore.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>
#include <sys/stat.h>

namespace {

constexpr int kRepetitions = 5;

// Only the store of each size is written; the other files are left out.
class StoreFile {
public:
    explicit StoreFile(int values) : folder_(bench::MakeTemporaryFolder()), path_(folder_ + "/registry.reg")
    {
        bench::WriteBytes(path_, bench::StoreText({bench::kLargeInstallation.functions, values}));
    }
    ~StoreFile()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    const std::string& Path() const { return path_; }
    std::string Beside(const std::string& name) const { return folder_ + "/" + name; }

private:
    std::string folder_;
    std::string path_;
};

const StoreFile& StoreOf(const benchmark::State& state)
{
    static std::map<std::int64_t, std::unique_ptr<StoreFile>> files;
    auto& slot = files[state.range(0)];
    if (!slot)
        slot = std::make_unique<StoreFile>(static_cast<int>(state.range(0)));
    return *slot;
}

bool ReadsThePolicy(tk::RegistryStore& store)
{
    const auto value = store.QueryValue(tk::RegRoot::LocalMachine, bench::kPoliciesKey, bench::kPoliciesValue);
    return value && value.Value().data == tk::RegValue::Dword(1).data;
}

// Saving the first function: a string value in a key among thousands.
tk::RegResult SaveFirstFunction(tk::RegistryStore& store, std::uint32_t n)
{
    return store.SetValue(tk::RegRoot::CurrentUser, bench::FunctionSubKey(0), bench::FunctionValueName(0),
                          tk::RegValue::String(std::to_string(n)));
}

void ReadStoreFile(benchmark::State& state)
{
    const StoreFile& file = StoreOf(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(bench::ReadBytes(file.Path()).data());
}

void FirstRead(benchmark::State& state)
{
    const StoreFile& file = StoreOf(state);
    for (auto _ : state) {
        auto store = std::make_unique<tk::RegistryStore>(file.Path());
        if (!ReadsThePolicy(*store))
            state.SkipWithError("the value was not read");
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
}

void StatStoreFile(benchmark::State& state)
{
    const StoreFile& file = StoreOf(state);
    struct ::stat st{};
    for (auto _ : state)
        benchmark::DoNotOptimize(::stat(file.Path().c_str(), &st));
}

void WarmRead(benchmark::State& state)
{
    tk::RegistryStore store(StoreOf(state).Path());
    if (!ReadsThePolicy(store))
        state.SkipWithError("the value was not read");
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadsThePolicy(store));
}

void DurableWrite(benchmark::State& state)
{
    const StoreFile& file = StoreOf(state);
    const std::string bytes = bench::ReadBytes(file.Path());
    const std::string path = file.Beside("same-size.reg");
    for (auto _ : state)
        tk::WriteFileAtomically(path, bytes);
}

void Write(benchmark::State& state)
{
    tk::RegistryStore store(StoreOf(state).Path());
    std::uint32_t n = 0;
    if (!ReadsThePolicy(store) || !SaveFirstFunction(store, ++n))
        state.SkipWithError("the store cannot be used");
    for (auto _ : state)
        if (!SaveFirstFunction(store, ++n))
            state.SkipWithError("the write failed");
}

void FirstWrite(benchmark::State& state)
{
    const StoreFile& file = StoreOf(state);
    std::uint32_t n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto store = std::make_unique<tk::RegistryStore>(file.Path());
        if (!ReadsThePolicy(*store))
            state.SkipWithError("the value was not read");
        state.ResumeTiming();
        if (!SaveFirstFunction(*store, ++n))
            state.SkipWithError("the write failed");
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
}

void Sizes(benchmark::internal::Benchmark* b)
{
    b->Arg(bench::kLargeInstallation.storeValues)->Arg(bench::kHugeInstallation.storeValues);
    b->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
}

BENCHMARK(ReadStoreFile)->Apply(Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(FirstRead)->Apply(Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(StatStoreFile)->Apply(Sizes);
BENCHMARK(WarmRead)->Apply(Sizes);
BENCHMARK(DurableWrite)->Apply(Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(Write)->Apply(Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(FirstWrite)->Apply(Sizes)->Unit(benchmark::kMillisecond);

const bool kTable = [] {
    for (const int values : {bench::kLargeInstallation.storeValues, bench::kHugeInstallation.storeValues}) {
        const std::string arg = "/" + std::to_string(values);
        const bool large = values == bench::kLargeInstallation.storeValues;
        bench::Compare({"FirstRead" + arg, "ReadStoreFile" + arg, 0, {}});
        bench::Compare({"WarmRead" + arg, "StatStoreFile" + arg, 0, {}});
        bench::Compare({"Write" + arg, "DurableWrite" + arg, large ? 1.5 : 0, {}});
        bench::Compare({"FirstWrite" + arg, "DurableWrite" + arg, 0, {}});
    }
    return true;
}();

} // namespace
