// The program on a large installation (support/Installation.h) at two sizes:
// 2,000 functions with 100,000 registry values, and four times that; the
// third argument is the store's form (0 canonical, 1 foreign).
//
// - StartUp: the real main dialog on a window kept in memory, in this process,
//   from a registry store not yet read to the first function shown (its first
//   tick); what is torn down afterwards is not timed.
// - StartUpAndShows: start-up, then another function shown, as a user's first
//   look at the program does.
// - IdleTick, ShowFunction, ChangeCategory: the 100 ms poll of a running
//   dialog when nothing changed, when another function is selected, and when
//   another category is picked (the tick that refills the list and the one
//   that shows its first function).
// - Session: the headless driver program run as a user would start it:
//   start-up, two functions shown, the window closed, the process ended.
// - PeakMemory: that session's peak resident memory, the process's own.
// Their baseline is reading the four data files once (ReadFourFiles), or for
// memory a process that holds the four files in memory at once (HoldFiles).
#include "app/TunewrightDlg.h"
#include "support/Child.h"
#include "support/Installation.h"
#include "support/Table.h"
#include "toolkit/Backend.h"
#include "toolkit/Resources.h"
#include "platform/Services.h"
#include "toolkit/model/ModelWindow.h"
#include "regstore/RegistryStore.h"

#include <benchmark/benchmark.h>

#include <iostream>
#include <map>
#include <memory>
#include <stdexcept>

using namespace saving;
using namespace util;
using namespace app;
using namespace catalogue;
using namespace i18n;

namespace {

constexpr int kListId = 1000;
constexpr int kCategoryId = 1009;
constexpr int kRepetitions = 5;

// Errors are printed; boxes are answered Yes (the UAC question), dialogs
// cancelled.
class BenchBackend final : public toolkit::IBackend, public toolkit::ModalHost {
public:
    toolkit::Answer RunModal(toolkit::CDialog&) override { return toolkit::Answer::Cancel; }
    void ReportError(const std::string& text) override { std::cerr << "error: " << text << '\n'; }
    void ShowHelp(const std::string&) override {}
    toolkit::Answer ShowMessageBox(std::string_view, std::string_view, toolkit::BoxStyle) override { return toolkit::Answer::Yes; }
    std::optional<std::string> ShowFileDialog(const toolkit::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> ShowFolderDialog(std::string_view, std::string_view) override { return std::nullopt; }
};

bench::InstallationSize SizeOf(const benchmark::State& state)
{
    return {static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
}

bench::StoreForm FormOf(const benchmark::State& state)
{
    return state.range(2) == 0 ? bench::StoreForm::Canonical : bench::StoreForm::Foreign;
}

// One installation of each size and store form for the whole run.
const bench::Installation& InstallationOf(const benchmark::State& state)
{
    static std::map<std::pair<int, bench::StoreForm>, std::unique_ptr<bench::Installation>> installations;
    const bench::InstallationSize size = SizeOf(state);
    auto& slot = installations[{size.functions, FormOf(state)}];
    if (!slot)
        slot = std::make_unique<bench::Installation>(size, FormOf(state));
    return *slot;
}

// The main dialog started on an installation, with a store of its own.
class RunningDialog {
public:
    explicit RunningDialog(const bench::Installation& installation)
        : store_(installation.StorePath()), services_(Services(installation, store_)), active_(backend_)
    {
        window_ = std::make_unique<toolkit::ModelWindow>(toolkit::GetDialogTemplate(CTunewrightDlg::IDD), backend_);
        dialog_.AttachWindow(window_.get());
        if (!dialog_.RunInitDialog())
            throw std::runtime_error("the main dialog did not start");
        Tick();
    }
    ~RunningDialog() { dialog_.AttachWindow(nullptr); }

    void Tick()
    {
        toolkit::Message tick;
        tick.kind = toolkit::MsgKind::Timer;
        tick.id = 1;
        dialog_.Dispatch(tick);
    }
    void Select(int row) { window_->ClickListItem(kListId, row); }
    void Category(int index) { window_->ComboSetCurSel(kCategoryId, index); }
    int ShownFunction() const { return dialog_.shownFunction; }

private:
    static platform::Services Services(const bench::Installation& installation, regstore::RegistryStore& store)
    {
        platform::Services s;
        s.registry = &store;
        s.executablePath = installation.File("tunewright");
        return s;
    }

    regstore::RegistryStore store_;
    platform::ScopedServices services_;
    BenchBackend backend_;
    toolkit::ScopedBackend active_;
    std::unique_ptr<toolkit::ModelWindow> window_;
    CTunewrightDlg dialog_;
};

void ReadFourFiles(benchmark::State& state)
{
    const bench::Installation& installation = InstallationOf(state);
    for (auto _ : state) {
        for (const std::string& file : installation.DataFiles())
            benchmark::DoNotOptimize(bench::ReadBytes(file).data());
    }
    state.counters["bytes"] = static_cast<double>(installation.DataBytes());
}

void StartUp(benchmark::State& state)
{
    const bench::Installation& installation = InstallationOf(state);
    for (auto _ : state) {
        auto dialog = std::make_unique<RunningDialog>(installation);
        state.PauseTiming();
        if (dialog->ShownFunction() != 0)
            state.SkipWithError("the first function was not shown");
        dialog.reset();
        state.ResumeTiming();
    }
}

// Start-up, then the second function of the list shown.
void StartUpAndShows(benchmark::State& state)
{
    const bench::Installation& installation = InstallationOf(state);
    for (auto _ : state) {
        auto dialog = std::make_unique<RunningDialog>(installation);
        dialog->Select(1);
        dialog->Tick();
        state.PauseTiming();
        if (dialog->ShownFunction() != 1)
            state.SkipWithError("the second function was not shown");
        dialog.reset();
        state.ResumeTiming();
    }
}

// Each of these benchmarks starts a dialog of its own: the services it
// installs are global, so a dialog kept for later would read the files of
// whichever dialog was started last, and one kept until exit would outlive
// them.

// Nothing has changed since the last tick: the poll reads the controls and
// compares.
void IdleTick(benchmark::State& state)
{
    RunningDialog dialog(InstallationOf(state));
    dialog.Category(0);
    dialog.Tick();
    dialog.Select(5);
    dialog.Tick();
    for (auto _ : state)
        dialog.Tick();
    if (dialog.ShownFunction() != 5)
        state.SkipWithError("the tick did not keep function 5");
}

// Each tick sees another row selected and shows that function: catalogue
// read and searched, registry read, panel filled. Two functions near the end
// of the catalogue take turns, the farthest it has to be read.
void ShowFunction(benchmark::State& state)
{
    const bench::InstallationSize size = SizeOf(state);
    RunningDialog dialog(InstallationOf(state));
    dialog.Category(0);
    dialog.Tick();
    const int rows[2] = {size.functions - 3, size.functions - 2};
    int at = 0;
    for (auto _ : state) {
        dialog.Select(rows[at]);
        dialog.Tick();
        at ^= 1;
    }
    if (dialog.ShownFunction() != rows[at ^ 1])
        state.SkipWithError("the tick did not show the selected function");
}

void ChangeCategory(benchmark::State& state)
{
    RunningDialog dialog(InstallationOf(state));
    int category = 1;
    for (auto _ : state) {
        dialog.Category(category);
        dialog.Tick();
        dialog.Tick();
        category = category == 1 ? 2 : 1;
    }
    if (dialog.ShownFunction() < 0)
        state.SkipWithError("no function was shown");
}

// Start-up, two functions shown, the close box.
std::string SessionScript(const bench::Installation& installation)
{
    const std::string path = installation.File("session.txt");
    bench::WriteBytes(path, "tick\nselect 1\ntick\nclose\n");
    return path;
}

std::vector<std::string> DriverCommand(const bench::Installation& installation)
{
    return {TW_SCRIPT_BINARY, "--app-folder", installation.Folder()};
}

void Session(benchmark::State& state)
{
    const bench::Installation& installation = InstallationOf(state);
    const std::string script = SessionScript(installation);
    for (auto _ : state)
        state.SetIterationTime(bench::RunSeconds(script, DriverCommand(installation)));
}

void PeakMemory(benchmark::State& state)
{
    const bench::Installation& installation = InstallationOf(state);
    const std::string script = SessionScript(installation);
    std::uint64_t peak = 0;
    for (auto _ : state)
        peak = bench::PeakResidentBytes(script, DriverCommand(installation));
    state.counters["peak_bytes"] = static_cast<double>(peak);
}

void HoldFiles(benchmark::State& state)
{
    const bench::Installation& installation = InstallationOf(state);
    std::uint64_t peak = 0;
    for (auto _ : state)
        peak = bench::PeakResidentBytes("/dev/null", bench::HoldFilesCommand(installation.DataFiles()));
    state.counters["peak_bytes"] = static_cast<double>(peak);
}

// Both sizes with the canonical store; the large one with a foreign store too.
void Sizes(benchmark::internal::Benchmark* b)
{
    for (const bench::InstallationSize& size : {bench::kLargeInstallation, bench::kHugeInstallation})
        b->Args({size.functions, size.storeValues, 0});
    b->Args({bench::kLargeInstallation.functions, bench::kLargeInstallation.storeValues, 1});
    b->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
}

// Every size in both forms.
void Forms(benchmark::internal::Benchmark* b)
{
    for (const bench::InstallationSize& size : {bench::kLargeInstallation, bench::kHugeInstallation})
        for (int form = 0; form < 2; ++form)
            b->Args({size.functions, size.storeValues, form});
    b->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
}

BENCHMARK(ReadFourFiles)->Apply(Forms)->Unit(benchmark::kMillisecond);
BENCHMARK(StartUp)->Apply(Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(StartUpAndShows)->Apply(Forms)->Unit(benchmark::kMillisecond);
BENCHMARK(IdleTick)->Apply(Sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(ShowFunction)->Apply(Sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(ChangeCategory)->Apply(Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(Session)->Apply(Sizes)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PeakMemory)->Apply(Forms)->Iterations(1);
BENCHMARK(HoldFiles)->Apply(Forms)->Iterations(1);

std::string Arguments(const bench::InstallationSize& size, int form)
{
    return "/" + std::to_string(size.functions) + "/" + std::to_string(size.storeValues) + "/" + std::to_string(form);
}

const bool kTable = [] {
    constexpr double kMegabyte = 1024 * 1024;
    for (const bench::InstallationSize& size : {bench::kLargeInstallation, bench::kHugeInstallation}) {
        const bool large = size.functions == bench::kLargeInstallation.functions;
        for (int form = 0; form < 2; ++form) {
            const std::string args = Arguments(size, form);
            const std::string read = "ReadFourFiles" + args;
            if (form == 0 || large) {
                bench::Compare({"StartUp" + args, read, 0, {}});
                bench::Compare({"StartUpAndShows" + args, read, large ? (form == 0 ? 2.5 : 3.0) : 0, {}});
                bench::Compare({"IdleTick" + args, read, 0, {}});
                bench::Compare({"ShowFunction" + args, read, 0, {}});
                bench::Compare({"ChangeCategory" + args, read, 0, {}});
                bench::Compare({"Session" + args, read, 0, {}});
            } else {
                bench::Compare({"StartUpAndShows" + args, read, 0, {}});
            }
            bench::Compare(
                {"PeakMemory" + args, "HoldFiles" + args, 0, "peak_bytes", (large ? 10.0 : 16.0) * kMegabyte});
        }
    }
    return true;
}();

} // namespace
