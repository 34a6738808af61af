// The file-backed registry store of a large installation (support/
// Installation.h): 100,000 values, and four times that; the second argument
// is the store's form (0 canonical, 1 foreign).
//
// - FirstRead: a store object that has not read the file yet answers the
//   start-up question's value; baseline: reading the file's bytes once.
// - WarmRead: the same store asked again, the file unchanged; baseline: one
//   stat of the file, which every read needs to notice a change.
// - Write: one value changed in a store that has been read and written
//   before; FirstWrite: the first change after the first read, which rewrites
//   a foreign store whole. Baseline: one durable write of a file of the same
//   size (temporary file, fsync, rename, fsync of the folder).
// - ImportPeakMemory: tunewright-import of a file of about 54 MB (the huge
//   store's keys five times over, with other values) into the large store;
//   baseline: a process that holds the file to import four times and the
//   store once (HoldImportFiles), the most the import may take.
#include "support/Child.h"
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
    StoreFile(int values, bench::StoreForm form)
        : folder_(bench::MakeTemporaryFolder()), path_(folder_ + "/registry.reg"),
          text_(bench::StoreText({bench::kLargeInstallation.functions, values}, form))
    {
        Restore();
    }
    ~StoreFile()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    const std::string& Path() const { return path_; }
    std::string Beside(const std::string& name) const { return folder_ + "/" + name; }
    // The file as it was made, before any change rewrote it.
    void Restore() const { bench::WriteBytes(path_, text_); }

private:
    std::string folder_;
    std::string path_;
    std::string text_;
};

const StoreFile& StoreOf(const benchmark::State& state)
{
    static std::map<std::pair<std::int64_t, std::int64_t>, std::unique_ptr<StoreFile>> files;
    auto& slot = files[{state.range(0), state.range(1)}];
    if (!slot)
        slot = std::make_unique<StoreFile>(static_cast<int>(state.range(0)),
                                           state.range(1) == 0 ? bench::StoreForm::Canonical
                                                               : bench::StoreForm::Foreign);
    return *slot;
}

bool ReadsThePolicy(regstore::RegistryStore& store)
{
    const auto value = store.QueryValue(platform::RegRoot::LocalMachine, bench::kPoliciesKey, bench::kPoliciesValue);
    return value && value.Value().data == platform::RegValue::Dword(1).data;
}

// Saving the first function: a string value in a key among thousands.
platform::RegResult SaveFirstFunction(regstore::RegistryStore& store, std::uint32_t n)
{
    return store.SetValue(platform::RegRoot::CurrentUser, bench::FunctionSubKey(0), bench::FunctionValueName(0),
                          platform::RegValue::String(std::to_string(n)));
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
        auto store = std::make_unique<regstore::RegistryStore>(file.Path());
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
    regstore::RegistryStore store(StoreOf(state).Path());
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
        platform::WriteFileAtomically(path, bytes);
}

void Write(benchmark::State& state)
{
    regstore::RegistryStore store(StoreOf(state).Path());
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
        file.Restore();
        auto store = std::make_unique<regstore::RegistryStore>(file.Path());
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

// A file to import of about 54 MB: the keys of the huge store five times,
// each time with other values, as a large export from another machine.
class ImportFile {
public:
    ImportFile() : folder_(bench::MakeTemporaryFolder())
    {
        std::string text;
        for (int round = 0; round < 5; ++round) {
            std::string store = bench::StoreText({bench::kHugeInstallation.functions, bench::kHugeInstallation.storeValues + round});
            text += round == 0 ? store : store.substr(store.find("\r\n") + 2);
        }
        bench::WriteBytes(ImportPath(), text);
        bench::WriteBytes(StorePath(), bench::StoreText(bench::kLargeInstallation));
    }
    ~ImportFile()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::string ImportPath() const { return folder_ + "/import.reg"; }
    std::string StorePath() const { return folder_ + "/registry.reg"; }
    void RestoreStore() const { bench::WriteBytes(StorePath(), bench::StoreText(bench::kLargeInstallation)); }

private:
    std::string folder_;
};

const ImportFile& TheImportFile()
{
    static const ImportFile file;
    return file;
}

void ImportPeakMemory(benchmark::State& state)
{
    const ImportFile& file = TheImportFile();
    std::uint64_t peak = 0;
    for (auto _ : state) {
        file.RestoreStore();
        ::setenv("TUNEWRIGHT_REGISTRY", file.StorePath().c_str(), 1);
        peak = bench::PeakResidentBytes("/dev/null", {TW_IMPORT_BINARY, "/s", file.ImportPath()});
    }
    state.counters["peak_bytes"] = static_cast<double>(peak);
}

void HoldImportFiles(benchmark::State& state)
{
    const ImportFile& file = TheImportFile();
    std::uint64_t peak = 0;
    for (auto _ : state) {
        file.RestoreStore();
        const std::string import = file.ImportPath();
        peak = bench::PeakResidentBytes("/dev/null",
                                        bench::HoldFilesCommand({import, import, import, import, file.StorePath()}));
    }
    state.counters["peak_bytes"] = static_cast<double>(peak);
}

void Sizes(benchmark::internal::Benchmark* b)
{
    b->Args({bench::kLargeInstallation.storeValues, 0})->Args({bench::kHugeInstallation.storeValues, 0});
    b->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
}

// The large store in both forms, the huge one canonical.
void Forms(benchmark::internal::Benchmark* b)
{
    Sizes(b);
    b->Args({bench::kLargeInstallation.storeValues, 1});
}

BENCHMARK(ReadStoreFile)->Apply(Forms)->Unit(benchmark::kMillisecond);
BENCHMARK(FirstRead)->Apply(Forms)->Unit(benchmark::kMillisecond);
BENCHMARK(StatStoreFile)->Apply(Sizes);
BENCHMARK(WarmRead)->Apply(Sizes);
BENCHMARK(DurableWrite)->Apply(Forms)->Unit(benchmark::kMillisecond);
BENCHMARK(Write)->Apply(Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(FirstWrite)->Apply(Forms)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportPeakMemory)->Iterations(1);
BENCHMARK(HoldImportFiles)->Iterations(1);

const bool kTable = [] {
    for (const int values : {bench::kLargeInstallation.storeValues, bench::kHugeInstallation.storeValues}) {
        const bool large = values == bench::kLargeInstallation.storeValues;
        for (int form = 0; form < (large ? 2 : 1); ++form) {
            const std::string arg = "/" + std::to_string(values) + "/" + std::to_string(form);
            bench::Compare({"FirstRead" + arg, "ReadStoreFile" + arg, 0, {}});
            if (form == 0) {
                bench::Compare({"WarmRead" + arg, "StatStoreFile" + arg, 0, {}});
                bench::Compare({"Write" + arg, "DurableWrite" + arg, large ? 1.5 : 0, {}});
            }
            bench::Compare({"FirstWrite" + arg, "DurableWrite" + arg, form == 1 ? 3.0 : 0, {}});
        }
    }
    bench::Compare({"ImportPeakMemory", "HoldImportFiles", 1.0, "peak_bytes"});
    return true;
}();

} // namespace
