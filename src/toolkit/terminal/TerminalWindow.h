#pragma once
// A dialog window of the terminal backend: the in-memory controls, the timers
// with their next due times, and modal boxes that the backend shows.
#include "toolkit/model/ModelWindow.h"
#include "toolkit/terminal/Layer.h"

#include <map>
#include <set>

namespace tk {

// Who shows the modal boxes of a window: the backend, or a test.
class ModalHost {
public:
    virtual ~ModalHost() = default;
    virtual int ShowMessageBox(std::string_view text, std::string_view caption, unsigned type) = 0;
    virtual std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> ShowFolderDialog(std::string_view title) = 0;
};

class TerminalWindow final : public ModelWindow {
public:
    TerminalWindow(const DialogTemplate& tmpl, ModalHost& host) : ModelWindow(tmpl), host_(host) {}

    void SetTimer(int timerId, int milliseconds) override;

    int MessageBox(std::string_view text, std::string_view caption, unsigned type) override;
    std::optional<std::string> FileOpenDialog(const FileDialogRequest& request) override;
    std::optional<std::string> BrowseForFolder(std::string_view title) override;

    // The timers due at `now`, which are then rescheduled; a timer whose
    // handler is still running (it waits in a modal box) is not due again
    // until the handler returns.
    std::vector<int> TakeDueTimers(SteadyTime now);
    void TimerDone(int timerId) { busy_.erase(timerId); }
    std::optional<SteadyTime> NextTimer() const;

private:
    ModalHost& host_;
    std::map<int, SteadyTime> due_;
    std::set<int> busy_;
};

} // namespace tk
