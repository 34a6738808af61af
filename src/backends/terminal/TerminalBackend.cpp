#include "backends/terminal/TerminalBackend.h"

#include "backends/terminal/DialogLayer.h"
#include "backends/terminal/HelpViewLayer.h"
#include "backends/terminal/MessageBoxLayer.h"
#include "backends/terminal/PickerLayer.h"
#include "backends/terminal/TerminalWindow.h"
#include "backends/terminal/Texts.h"
#include "backends/terminal/Theme.h"

#include <algorithm>
#include <filesystem>

namespace backends::terminal {

using namespace theme;
namespace fs = std::filesystem;

namespace {

constexpr int kPollMs = 100;
// How long a lone Escape may wait for the rest of a key sequence.
constexpr auto kEscapeWait = std::chrono::milliseconds(30);
constexpr int kSmallestCols = 30;
constexpr int kSmallestRows = 8;

std::string CurrentFolder()
{
    std::error_code ec;
    const fs::path p = fs::current_path(ec);
    return ec ? std::string("/") : p.string(); // the folder we were in is gone
}

} // namespace

// Keeps a layer on the stack for its lifetime, whatever way the scope ends.
class TerminalBackend::Pushed {
public:
    Pushed(TerminalBackend& backend, Layer& layer) : backend_(backend) { backend_.layers_.push_back(&layer); }
    ~Pushed() { backend_.layers_.pop_back(); }
    Pushed(const Pushed&) = delete;
    Pushed& operator=(const Pushed&) = delete;

private:
    TerminalBackend& backend_;
};

TerminalBackend::TerminalBackend(ITerminal& terminal, ColourDepth colours) : terminal_(terminal)
{
    screen_.SetColourDepth(colours);
}

toolkit::Answer TerminalBackend::RunModal(toolkit::CDialog& dialog)
{
    TerminalWindow window(dialog.Template(), *this);
    dialog.AttachWindow(&window);
    const int menu = dialog.Template().menuId;
    const toolkit::AcceleratorTable* keys = menu != 0 ? toolkit::FindAccelerators(menu) : accelerators_;
    DialogLayer layer(dialog, window, dialogs_ == 0, keys, owner_);
    ++dialogs_;
    struct Leave {
        toolkit::CDialog& dialog;
        int& dialogs;
        const toolkit::AcceleratorTable*& keys;
        const toolkit::AcceleratorTable* outerKeys;
        const toolkit::DialogTemplate*& owner;
        const toolkit::DialogTemplate* outerOwner;
        ~Leave()
        {
            --dialogs;
            keys = outerKeys;
            owner = outerOwner;
            dialog.AttachWindow(nullptr);
        }
    } leave{dialog, dialogs_, accelerators_, accelerators_, owner_, owner_};
    accelerators_ = keys;
    owner_ = &dialog.Template();
    Pushed pushed(*this, layer);
    // A dialog that cannot initialise has nothing to show: it ends at once.
    if (closed_ || !dialog.RunInitDialog())
        window.EndDialog(toolkit::Answer::Cancel);
    layer.EnsureFocus();
    Loop(layer);
    return window.EndResult().value_or(toolkit::Answer::Cancel);
}

void TerminalBackend::ReportError(const std::string& text)
{
    if (rendering_) {
        // Drawing asked the dialog for colours and that failed; the box waits
        // until the picture is complete.
        deferredErrors_.push_back(text);
        return;
    }
    ShowMessageBox(text, toolkit::AppTitle(), {toolkit::BoxButtons::Ok, toolkit::BoxIcon::Error});
}

void TerminalBackend::ShowHelp(const std::string& path)
{
    const auto help = toolkit::ReadHelpFile(HelpTextPath(path));
    if (!help) {
        ReportError(help.Error().message);
        return;
    }
    HelpViewLayer view(platform::Text(text::HelpViewTitle), help.Value());
    RunLayer(view);
}

toolkit::Answer TerminalBackend::ShowMessageBox(std::string_view text, std::string_view caption, toolkit::BoxStyle style)
{
    MessageBoxLayer box{std::string(text), std::string(caption), style};
    RunLayer(box);
    return box.Result();
}

std::optional<std::string> TerminalBackend::ShowFileDialog(const toolkit::FileDialogRequest& request)
{
    PickerLayer picker(PickerLayer::Mode::File, platform::Text(text::PickerOpenTitle), "", request.filter,
                       StartFolder(request.initialFolder, CurrentFolder()));
    RunLayer(picker);
    return picker.Result();
}

std::optional<std::string> TerminalBackend::ShowFolderDialog(std::string_view title, std::string_view initialFolder)
{
    PickerLayer picker(PickerLayer::Mode::Folder, platform::Text(text::PickerFolderTitle), std::string(title), "",
                       StartFolder(std::string(initialFolder), CurrentFolder()));
    RunLayer(picker);
    return picker.Result();
}

void TerminalBackend::RunLayer(Layer& layer)
{
    Pushed pushed(*this, layer);
    Loop(layer);
}

void TerminalBackend::Loop(Layer& layer)
{
    while (!layer.Done()) {
        if (closed_) {
            layer.Abandon();
            break;
        }
        FireTimers();
        if (layer.Done())
            break;
        Render();
        ShowDeferredErrors();
        if (!keys_.empty()) {
            const Key key = keys_.front();
            keys_.pop_front();
            layer.HandleKey(key);
            continue;
        }
        WaitForInput();
    }
}

void TerminalBackend::FireTimers()
{
    const SteadyTime now = std::chrono::steady_clock::now();
    // Index, not iterator: a timer handler may open boxes on top, which are
    // gone again when it returns.
    for (std::size_t i = 0; i < layers_.size(); ++i)
        layers_[i]->FireTimers(now);
}

void TerminalBackend::WaitForInput()
{
    const SteadyTime now = std::chrono::steady_clock::now();
    auto wait = std::chrono::milliseconds(kPollMs);
    // Rounded up: a wait cut short of the due time would only come back to
    // wait again, over and over until the time has come.
    for (const Layer* l : layers_)
        if (const auto due = l->NextTimer())
            wait = std::min(wait, std::max(std::chrono::milliseconds(0),
                                           std::chrono::ceil<std::chrono::milliseconds>(*due - now)));
    if (partialSince_)
        wait = std::min(wait, std::chrono::milliseconds(kEscapeWait));
    const ITerminal::Input in = terminal_.Wait(static_cast<int>(wait.count()));
    if (in.resized)
        fullRedraw_ = true;
    if (in.closed) {
        closed_ = true;
        return;
    }
    if (!in.bytes.empty()) {
        decoder_.Feed(in.bytes);
    } else if (partialSince_ && std::chrono::steady_clock::now() - *partialSince_ >= kEscapeWait) {
        decoder_.Flush();
    }
    while (const auto key = decoder_.Next())
        keys_.push_back(*key);
    if (!decoder_.HasPartial())
        partialSince_.reset();
    else if (!partialSince_)
        partialSince_ = std::chrono::steady_clock::now();
}

void TerminalBackend::Render()
{
    int cols = 0, rows = 0;
    terminal_.Size(cols, rows);
    if (cols != screen_.Cols() || rows != screen_.Rows()) {
        screen_.Resize(cols, rows);
        fullRedraw_ = true;
    }
    rendering_ = true;
    screen_.Clear(Style(kWhite, kDesktop));
    if (cols < kSmallestCols || rows < kSmallestRows) {
        screen_.Text(0, 0, platform::Text(text::EnlargeTerminal), Style(kWhite, kDesktop));
    } else {
        for (Layer* l : layers_)
            l->Draw(screen_);
        if (!layers_.empty()) {
            const CellStyle help = Style(kHelpText, kHelpBar);
            screen_.Fill({0, rows - 1, cols, 1}, help);
            screen_.Text(1, rows - 1, FitHelp(layers_.back()->KeyHelp(), cols - 2), help, cols - 2);
        }
    }
    rendering_ = false;
    terminal_.Write(screen_.Render(fullRedraw_));
    fullRedraw_ = false;
}

void TerminalBackend::ShowDeferredErrors()
{
    // A fault that recurs on every drawing is shown once, not in an endless
    // pile of boxes.
    if (showingDeferred_) {
        deferredErrors_.clear();
        return;
    }
    showingDeferred_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{showingDeferred_};
    while (!deferredErrors_.empty()) {
        const std::string text = deferredErrors_.front();
        deferredErrors_.erase(deferredErrors_.begin());
        ShowMessageBox(text, toolkit::AppTitle(), {toolkit::BoxButtons::Ok, toolkit::BoxIcon::Error});
    }
}

} // namespace backends::terminal
