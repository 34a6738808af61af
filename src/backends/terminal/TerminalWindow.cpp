#include "backends/terminal/TerminalWindow.h"

#include <algorithm>

namespace backends::terminal {

void TerminalWindow::SetTimer(int timerId, int milliseconds)
{
    ModelWindow::SetTimer(timerId, milliseconds);
    due_[timerId] = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(1, milliseconds));
}

std::optional<int> TerminalWindow::TakeDueTimer(SteadyTime now)
{
    for (auto& [id, due] : due_) {
        if (due > now || busy_.count(id))
            continue;
        const auto interval = Timers().find(id);
        const int ms = interval == Timers().end() ? 100 : std::max(1, interval->second);
        due = now + std::chrono::milliseconds(ms);
        busy_.insert(id);
        return id;
    }
    return std::nullopt;
}

std::optional<SteadyTime> TerminalWindow::NextTimer() const
{
    std::optional<SteadyTime> next;
    for (const auto& [id, due] : due_)
        if (!busy_.count(id) && (!next || due < *next))
            next = due;
    return next;
}

} // namespace backends::terminal
