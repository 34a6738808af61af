#pragma once
// A dialog window of the terminal backend: the in-memory controls and the
// timers with their next due times.
#include "toolkit/model/ModelWindow.h"
#include "backends/terminal/Layer.h"

#include <map>
#include <set>

namespace backends::terminal {

class TerminalWindow final : public toolkit::ModelWindow {
public:
    using toolkit::ModelWindow::ModelWindow;

    void SetTimer(int timerId, int milliseconds) override;

    // A timer due at `now`, which is then rescheduled; a timer whose handler
    // is still running (it waits in a modal box) is not due again until the
    // handler returns. One at a time, so that a handler waiting in a box does
    // not hold back the ticks of the other timers.
    std::optional<int> TakeDueTimer(SteadyTime now);
    void TimerDone(int timerId) { busy_.erase(timerId); }
    std::optional<SteadyTime> NextTimer() const;

private:
    std::map<int, SteadyTime> due_;
    std::set<int> busy_;
};

} // namespace backends::terminal
