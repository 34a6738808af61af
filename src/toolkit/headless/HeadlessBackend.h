#pragma once
// The headless backend: dialogs live in memory and a script of commands plays
// the user. Everything a user would see is printed, one event a line.
#include "toolkit/Dialog.h"
#include "toolkit/Services.h"
#include "toolkit/model/ModelWindow.h"

#include <deque>
#include <iosfwd>
#include <optional>
#include <string>

namespace tk {

class HeadlessBackend final : public IBackend, public IShell, public ModalHost {
public:
    HeadlessBackend(std::istream& in, std::ostream& out);

    // Reads the answers given before the first other command, so that they
    // answer questions asked while the main dialog starts.
    void QueueLeadingAnswers();

    Answer RunModal(CDialog& dialog) override;
    void ReportError(const std::string& text) override;
    void Open(const std::string& target) override;

    // The modal boxes of the dialog windows, answered from the queues.
    Answer ShowMessageBox(std::string_view text, std::string_view caption, BoxStyle style) override;
    std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> ShowFolderDialog(std::string_view title) override;

private:
    Answer RunMain(CDialog& dialog, ModelWindow& window);
    Answer RunNested(CDialog& dialog, ModelWindow& window);
    bool NextCommand(std::string& line);
    // Queues answer/pick/choose; false for any other command.
    bool QueueAnswer(const std::string& verb, const std::string& rest);
    std::optional<std::string> NextPick();
    void Execute(CDialog& dialog, ModelWindow& window, const std::string& line);
    void Dump(const ModelWindow& window);
    void Emit(const std::string& line);
    void Warn(const std::string& line);

    std::istream& in_;
    std::ostream& out_;
    std::deque<std::string> pending_; // lines read ahead but not yet run
    std::deque<std::string> answers_;
    std::deque<std::string> picks_;
    std::deque<std::string> choices_;
    int depth_ = 0;
};

} // namespace tk
