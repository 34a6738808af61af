// The main of every benchmark program: the runs as Google Benchmark prints
// them, then the table of medians and ratios (Table.h). Run as "--peak-of" or
// "--hold-files" it is the helper of Child.h instead.
#include "support/Table.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace bench {

int PeakOfMain(int argc, char** argv);
int HoldFilesMain(int argc, char** argv);

namespace {

std::vector<Comparison>& Comparisons()
{
    static std::vector<Comparison> comparisons;
    return comparisons;
}

struct Median {
    double value = 0;
    bool isTime = true;
};

double Nanoseconds(benchmark::TimeUnit unit)
{
    switch (unit) {
    case benchmark::kSecond: return 1e9;
    case benchmark::kMillisecond: return 1e6;
    case benchmark::kMicrosecond: return 1e3;
    default: return 1;
    }
}

// Prints as Google Benchmark does and keeps every median.
class TableReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median"))
                continue;
            // The median comes after the repetitions and replaces them; a
            // benchmark run once has no aggregates, and its one run counts.
            const std::string name =
                run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args);
            medians_[name]["time"] = {run.GetAdjustedRealTime() * Nanoseconds(run.time_unit), true};
            for (const auto& [counter, value] : run.counters)
                medians_[name][counter] = {value.value, false};
        }
    }

    void PrintTable() const
    {
        if (Comparisons().empty())
            return;
        std::printf("\n%-40s %12s   %-36s %12s %9s %8s\n", "figure (median)", "", "baseline (median)", "", "ratio",
                    "target");
        for (const Comparison& c : Comparisons()) {
            const std::string what = c.counter.empty() ? "time" : c.counter;
            const Median* figure = Find(c.figure, what);
            const Median* baseline = Find(c.baseline, what);
            std::printf("%-40s %12s   %-36s %12s", c.figure.c_str(), Format(figure).c_str(), c.baseline.c_str(),
                        Format(baseline).c_str());
            if (figure == nullptr || baseline == nullptr || baseline->value <= 0) {
                std::printf(" %9s\n", "-");
                continue;
            }
            const double ratio = figure->value / baseline->value;
            std::printf(" %8.2fx", ratio);
            if (c.target > 0)
                std::printf(" %7.1fx %s", c.target, ratio <= c.target ? "met" : "missed");
            if (c.limit > 0) {
                const Median limit{c.limit, figure->isTime};
                std::printf(" %8s %s", ("<" + Format(&limit)).c_str(), figure->value < c.limit ? "met" : "missed");
            }
            std::printf("\n");
        }
    }

private:
    const Median* Find(const std::string& name, const std::string& what) const
    {
        const auto run = medians_.find(name);
        if (run == medians_.end())
            return nullptr;
        const auto median = run->second.find(what);
        return median == run->second.end() ? nullptr : &median->second;
    }

    static std::string Format(const Median* median)
    {
        if (median == nullptr)
            return "-";
        char text[32];
        const double v = median->value;
        if (!median->isTime)
            std::snprintf(text, sizeof text, "%.1f MB", v / (1024 * 1024));
        else if (v >= 1e6)
            std::snprintf(text, sizeof text, "%.2f ms", v / 1e6);
        else if (v >= 1e3)
            std::snprintf(text, sizeof text, "%.2f us", v / 1e3);
        else
            std::snprintf(text, sizeof text, "%.0f ns", v);
        return text;
    }

    std::map<std::string, std::map<std::string, Median>> medians_;
};

} // namespace

void Compare(const Comparison& comparison)
{
    Comparisons().push_back(comparison);
}

} // namespace bench

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--peak-of") == 0)
        return bench::PeakOfMain(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--hold-files") == 0)
        return bench::HoldFilesMain(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    bench::TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintTable();
    benchmark::Shutdown();
    return 0;
}
