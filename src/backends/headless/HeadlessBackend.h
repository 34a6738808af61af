#pragma once
// The headless backend: dialogs live in memory and a script of commands plays
// the user. Everything a user would see is printed, one event a line.
#include "toolkit/Dialog.h"
#include "platform/Services.h"
#include "backends/headless/ScriptCommand.h"
#include "toolkit/model/ModelWindow.h"

#include <deque>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace backends::headless {

class HeadlessBackend final : public toolkit::IBackend, public platform::IShell, public toolkit::ModalHost {
public:
    HeadlessBackend(std::istream& in, std::ostream& out);

    // Reads the answers given before the first other command, so that they
    // answer questions asked while the main dialog starts.
    void QueueLeadingAnswers();
    // Reports the commands left after the dialog ended and the answers that
    // no box took; returns the driver's exit status: 2 when the script held a
    // bad command or went on after the end, else 0.
    int Finish();

    toolkit::Answer RunModal(toolkit::CDialog& dialog) override;
    void ReportError(const std::string& text) override;
    // Hands a help file that reads to the shell, as Windows does.
    void ShowHelp(const std::string& path) override;
    // Prints the "shell open" event; whatever the target, a program is found.
    platform::ShellResult Open(const std::string& target) override;

    // The modal boxes of the dialog windows, answered from the queues.
    toolkit::Answer ShowMessageBox(std::string_view text, std::string_view caption, toolkit::BoxStyle style) override;
    std::optional<std::string> ShowFileDialog(const toolkit::FileDialogRequest& request) override;
    std::optional<std::string> ShowFolderDialog(std::string_view title, std::string_view initialFolder) override;

private:
    struct OpenDialog {
        toolkit::CDialog* dialog;
        toolkit::ModelWindow* window;
    };

    toolkit::Answer RunMain(toolkit::CDialog& dialog, toolkit::ModelWindow& window);
    toolkit::Answer RunNested(toolkit::CDialog& dialog, toolkit::ModelWindow& window);
    // The next command; bad lines on the way are reported and skipped.
    std::optional<ScriptCommand> NextCommand();
    // Queues answer/pick/choose; false for any other command.
    bool QueueAnswer(const ScriptCommand& command);
    std::optional<std::string> NextPick();
    void Execute(toolkit::CDialog& dialog, toolkit::ModelWindow& window, const ScriptCommand& command);
    // Timer ticks reach every open dialog, as they do while a modal box waits.
    void Tick(int count);
    void Dump(const toolkit::ModelWindow& window);
    void Emit(const std::string& line);
    // A user could not do this now: the script expected another window.
    void Ignore(const ScriptCommand& command);
    void Bad(const std::string& line);
    // A control the script names is not in the window: in a box, it is in
    // a window behind it, out of reach; in the main window it is a mistake.
    void Missing(const ScriptCommand& command);
    // The keys of the window that has the keyboard.
    const toolkit::AcceleratorTable* Accelerators() const;

    std::istream& in_;
    std::ostream& out_;
    std::deque<ScriptCommand> pending_; // read ahead but not yet run
    std::deque<ScriptCommand> answers_;
    std::deque<ScriptCommand> picks_;
    std::deque<ScriptCommand> choices_;
    std::vector<OpenDialog> open_; // outermost first
    bool badCommand_ = false;
};

} // namespace backends::headless
