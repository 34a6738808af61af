// The cost of the 100 ms poll: an idle tick (nothing changed), a tick that
// shows another function of a 2,000-function catalogue, and a tick that
// refills the list for another category. The main dialog runs on a window
// that lives in memory, in a generated installation.
#include "app/TunewrightDlg.h"
#include "toolkit/Resources.h"
#include "toolkit/Services.h"
#include "toolkit/model/ModelWindow.h"
#include "toolkit/regstore/RegistryStore.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;

constexpr int kFunctions = 2000;
constexpr int kListId = 1000;
constexpr int kCategoryId = 1009;
const std::string kKeyPath = "HKEY_CURRENT_USER\\\\Software\\\\Bench";

// Errors are printed; boxes are answered Yes, dialogs cancelled.
class BenchBackend final : public tk::IBackend, public tk::ModalHost {
public:
    tk::Answer RunModal(tk::CDialog&) override { return tk::Answer::Cancel; }
    void ReportError(const std::string& text) override { std::cerr << "error: " << text << '\n'; }
    tk::Answer ShowMessageBox(std::string_view, std::string_view, tk::BoxStyle) override { return tk::Answer::Yes; }
    std::optional<std::string> ShowFileDialog(const tk::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> ShowFolderDialog(std::string_view) override { return std::nullopt; }
};

void WriteFile(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

// Function i cycles through the kinds that read the registry, and every
// tenth is an open target; group digits alternate.
std::string Catalogue()
{
    static const char* const kinds[] = {"01", "02", "03", "05", "06", "07", "08", "09", "10"};
    std::string text;
    for (int i = 0; i < kFunctions; ++i) {
        const std::string key = std::to_string(1000 + i);
        const std::string kind = i % 10 == 9 ? "04" : kinds[i % 9];
        text += key + "0 " + kind + std::to_string(i % 2) + std::to_string(i % 5) + "\r\n";
        if (kind == "04") {
            text += key + "1 C:\\\\Windows\\\\notepad.exe\r\n";
            continue;
        }
        text += key + "1 " + kKeyPath + "\r\n" + key + "2 Value" + std::to_string(i) + "\r\n";
        if (kind == "02" || kind == "09")
            text += key + "3 1\r\n" + key + "4 100000\r\n";
        if (kind == "05")
            text += key + "3 Pictures (*.bmp)|*.bmp\r\n";
    }
    return text;
}

std::string Translation()
{
    std::string text = "[1033]\r\n00005 Bench\r\n00055 Save\r\n00060 Off\r\n00065 On\r\n00070 Browse\r\n00075 Open\r\n";
    for (int key = 140; key <= 160; key += 5)
        text += "00" + std::to_string(key) + " Available\r\n";
    for (int i = 0; i < kFunctions; ++i) {
        const int key = 10000 + 10 * i;
        text += std::to_string(key) + " Function number " + std::to_string(i) + "\r\n";
        text += std::to_string(key + 1) + " Please enter a value between 1 and 100000\r\n";
        text += std::to_string(key + 2) + " What function " + std::to_string(i) + " does, in a sentence or two.\r\n";
    }
    return text + std::to_string(10000 + 10 * kFunctions) + " End of functions\r\n[EOL]\r\n";
}

std::string Store()
{
    std::string text = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Bench]\r\n";
    for (int i = 0; i < kFunctions; i += 2)
        text += "\"Value" + std::to_string(i) + "\"=" + (i % 3 ? "\"42\"" : "dword:0000002a") + "\r\n";
    return text;
}

// One installation and one running main dialog for all benchmarks.
class Harness {
public:
    Harness() : folder_(MakeFolder()), store_((folder_ / "registry.reg").string()), services_(Services())
    {
        WriteFile(folder_ / "config.ini", "Product ID\r\n0019\r\nLanguage\r\n[1033]\r\n");
        WriteFile(folder_ / "0019trl.ini", Translation());
        WriteFile(folder_ / "0019fct.ini", Catalogue());
        WriteFile(folder_ / "registry.reg", Store());
        tk::SetBackend(&backend_);
        window_ = std::make_unique<tk::ModelWindow>(tk::GetDialogTemplate(CTunewrightDlg::IDD), backend_);
        dialog_.AttachWindow(window_.get());
        if (!dialog_.RunInitDialog())
            throw std::runtime_error("the main dialog did not start");
        Tick();
    }
    ~Harness()
    {
        dialog_.AttachWindow(nullptr);
        tk::SetBackend(nullptr);
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    void Tick()
    {
        tk::Message tick;
        tick.kind = tk::MsgKind::Timer;
        tick.id = 1;
        dialog_.Dispatch(tick);
    }
    void Select(int row) { window_->ClickListItem(kListId, row); }
    void Category(int index) { window_->ComboSetCurSel(kCategoryId, index); }
    const CTunewrightDlg& Dialog() const { return dialog_; }

private:
    static fs::path MakeFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "tunewright-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        return pattern;
    }
    tk::Services Services()
    {
        tk::Services s;
        s.registry = &store_;
        s.executablePath = (folder_ / "tunewright").string();
        return s;
    }

    fs::path folder_;
    tk::RegistryStore store_;
    tk::ScopedServices services_;
    BenchBackend backend_;
    std::unique_ptr<tk::ModelWindow> window_;
    CTunewrightDlg dialog_;
};

Harness& TheHarness()
{
    static Harness harness;
    return harness;
}

// Nothing has changed since the last tick: the poll takes the controls into
// the members and compares.
void IdleTick(benchmark::State& state)
{
    Harness& h = TheHarness();
    h.Category(0);
    h.Tick();
    h.Select(5);
    h.Tick();
    for (auto _ : state)
        h.Tick();
    if (h.Dialog().shownFunction != 5)
        state.SkipWithError("the tick did not keep function 5");
}
BENCHMARK(IdleTick);

// Each tick sees another row selected and shows that function: catalogue read
// and searched, registry read, panel filled. The argument is the row of one
// of the two functions, to show that the cost hardly depends on the position.
void ShowFunction(benchmark::State& state)
{
    Harness& h = TheHarness();
    h.Category(0);
    h.Tick();
    const int rows[2] = {static_cast<int>(state.range(0)), static_cast<int>(state.range(0)) + 1};
    int at = 0;
    for (auto _ : state) {
        h.Select(rows[at]);
        h.Tick();
        at ^= 1;
    }
    if (h.Dialog().shownFunction != rows[at ^ 1])
        state.SkipWithError("the tick did not show the selected function");
}
BENCHMARK(ShowFunction)->Arg(0)->Arg(1000)->Arg(1997)->Unit(benchmark::kMicrosecond);

// A change of category as the user sees it: the tick that refills the list
// from the header list, and the tick after that shows the new first function.
void ChangeCategory(benchmark::State& state)
{
    Harness& h = TheHarness();
    int category = 1;
    for (auto _ : state) {
        h.Category(category);
        h.Tick();
        h.Tick();
        category = category == 1 ? 2 : 1;
    }
    if (h.Dialog().shownFunction != (category == 1 ? 1 : 0))
        state.SkipWithError("the new first function was not shown");
    h.Category(0);
    h.Tick();
}
BENCHMARK(ChangeCategory)->Unit(benchmark::kMicrosecond);

} // namespace
