#pragma once
// The terminal backend: every open dialog, message box and path prompt is a
// layer on one full-screen picture. One event loop serves them all: it waits
// for keys at most 100 ms, hands keys to the top layer, and delivers the timer
// messages of every open dialog, also while a nested dialog or a box waits.
#include "toolkit/Dialog.h"
#include "backends/terminal/KeyDecoder.h"
#include "backends/terminal/Layer.h"
#include "backends/terminal/Screen.h"
#include "backends/terminal/Terminal.h"
#include "backends/terminal/TerminalWindow.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace backends::terminal {

class TerminalBackend final : public toolkit::IBackend, public toolkit::ModalHost {
public:
    explicit TerminalBackend(ITerminal& terminal, ColourDepth colours = ColourDepth::Direct);

    toolkit::Answer RunModal(toolkit::CDialog& dialog) override;
    void ReportError(const std::string& text) override;
    // The text of the help (help.txt beside help.chm) in a scrolling view.
    void ShowHelp(const std::string& path) override;

    // The modal boxes of the dialog windows.
    toolkit::Answer ShowMessageBox(std::string_view text, std::string_view caption, toolkit::BoxStyle style) override;
    std::optional<std::string> ShowFileDialog(const toolkit::FileDialogRequest& request) override;
    std::optional<std::string> ShowFolderDialog(std::string_view title, std::string_view initialFolder) override;

private:
    class Pushed;

    // Runs the layer's modal loop; the layer must be on top.
    void Loop(Layer& layer);
    void RunLayer(Layer& layer);
    void FireTimers();
    void Render();
    void ShowDeferredErrors();
    void WaitForInput();

    ITerminal& terminal_;
    CellScreen screen_;
    KeyDecoder decoder_;
    std::optional<SteadyTime> partialSince_;
    std::deque<Key> keys_;
    std::vector<Layer*> layers_;
    std::vector<std::string> deferredErrors_;
    int dialogs_ = 0;
    // Of the innermost dialog: its accelerators, and its template, over
    // which a box it opens may be placed.
    const toolkit::AcceleratorTable* accelerators_ = nullptr;
    const toolkit::DialogTemplate* owner_ = nullptr;
    bool closed_ = false;
    bool rendering_ = false;
    bool showingDeferred_ = false;
    bool fullRedraw_ = true;
};

} // namespace backends::terminal
