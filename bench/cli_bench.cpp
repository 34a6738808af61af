// tunewright-cli on the large installation of the benchmarks
// (support/Installation.h, 2,000 functions and 100,000 registry values, and
// four times that): `list --json`, every function with the value its panel
// shows, from a registry store not yet read.
//
// - ListJson: the command in this process, its JSON written to memory.
// - ListJsonProcess: the program as a script runs it, start and end included.
// Their baseline is reading the four data files once (ReadFourFiles).
#include "cli/CommandLine.h"
#include "regstore/RegistryStore.h"
#include "support/Child.h"
#include "support/Installation.h"
#include "support/Table.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <optional>
#include <sstream>

namespace {

constexpr int kRepetitions = 5;

bench::InstallationSize SizeOf(const benchmark::State& state)
{
    return {static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
}

const bench::Installation& InstallationOf(const bench::InstallationSize& size)
{
    static std::map<int, std::unique_ptr<bench::Installation>> installations;
    auto& slot = installations[size.functions];
    if (!slot)
        slot = std::make_unique<bench::Installation>(size);
    return *slot;
}

void ReadFourFiles(benchmark::State& state)
{
    const bench::Installation& installation = InstallationOf(SizeOf(state));
    for (auto _ : state) {
        for (const std::string& file : installation.DataFiles())
            benchmark::DoNotOptimize(bench::ReadBytes(file).data());
    }
}

void ListJson(benchmark::State& state)
{
    const bench::InstallationSize size = SizeOf(state);
    const bench::Installation& installation = InstallationOf(size);
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::optional<regstore::RegistryStore> store;
        std::ostringstream out;
        std::ostringstream err;
        const cli::Host host{installation.Folder(),
                             [&store](const std::string&, const std::string& folder) -> platform::IRegistry& {
                                 return store.emplace(folder + "/registry.reg");
                             },
                             out, err};
        if (cli::RunCommandLine({"--json", "list"}, host) != cli::kDone || !err.str().empty())
            state.SkipWithError(("list --json failed: " + err.str()).c_str());
        bytes = out.str().size();
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
    state.counters["json_bytes"] = static_cast<double>(bytes);
}

void ListJsonProcess(benchmark::State& state)
{
    const bench::Installation& installation = InstallationOf(SizeOf(state));
    for (auto _ : state)
        state.SetIterationTime(
            bench::RunSeconds("/dev/null", {TW_CLI_BINARY, "--app-folder", installation.Folder(), "--json", "list"}));
}

void Sizes(benchmark::internal::Benchmark* b)
{
    for (const bench::InstallationSize& size : {bench::kLargeInstallation, bench::kHugeInstallation})
        b->Args({size.functions, size.storeValues});
    b->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
}

BENCHMARK(ReadFourFiles)->Apply(Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(ListJson)->Apply(Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(ListJsonProcess)->Apply(Sizes)->UseManualTime()->Unit(benchmark::kMillisecond);

const bool kTable = [] {
    for (const bench::InstallationSize& size : {bench::kLargeInstallation, bench::kHugeInstallation}) {
        const std::string args = "/" + std::to_string(size.functions) + "/" + std::to_string(size.storeValues);
        const bool large = size.functions == bench::kLargeInstallation.functions;
        bench::Compare({"ListJson" + args, "ReadFourFiles" + args, large ? 3.0 : 0, {}});
        bench::Compare({"ListJsonProcess" + args, "ReadFourFiles" + args, 0, {}});
    }
    return true;
}();

} // namespace
