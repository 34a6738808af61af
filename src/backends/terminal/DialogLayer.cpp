#include "backends/terminal/DialogLayer.h"

#include <algorithm>

namespace backends::terminal {

DialogLayer::DialogLayer(toolkit::CDialog& dialog, TerminalWindow& window, bool fullScreen, const toolkit::AcceleratorTable* keys,
                         const toolkit::DialogTemplate* owner)
    : dialog_(dialog), window_(window), full_(fullScreen), keys_(keys), owner_(owner)
{
}

// ---- focus ---------------------------------------------------------------

bool DialogLayer::IsTabStop(const toolkit::ControlState& c) const
{
    if (!c.visible || c.id == -1 || !c.tmpl)
        return false;
    switch (c.kind) {
    case toolkit::ControlKind::PushButton:
    case toolkit::ControlKind::RadioButton:
    case toolkit::ControlKind::CheckBox:
        return true;
    case toolkit::ControlKind::GroupBox:
    case toolkit::ControlKind::StaticText:
    case toolkit::ControlKind::StaticBitmap:
    case toolkit::ControlKind::StaticIcon:
        return false;
    default:
        return c.tmpl->TabStop();
    }
}

std::vector<int> DialogLayer::TabStops() const
{
    std::vector<int> out;
    for (const auto& c : window_.Controls())
        if (IsTabStop(c))
            out.push_back(c.id);
    return out;
}

toolkit::ControlState* DialogLayer::Focused()
{
    toolkit::ControlState* c = window_.Find(window_.FocusId());
    return c && IsTabStop(*c) ? c : nullptr;
}

void DialogLayer::EnsureFocus()
{
    if (Focused())
        return;
    // The focus went to a control that is hidden now: the next tab stop after
    // it in template order takes it, as the first one does at the start.
    const auto& cs = window_.Controls();
    std::size_t from = 0;
    for (std::size_t i = 0; i < cs.size(); ++i)
        if (cs[i].id == window_.FocusId() && cs[i].id != -1)
            from = i;
    for (std::size_t k = 0; k < cs.size(); ++k) {
        const toolkit::ControlState& c = cs[(from + k) % cs.size()];
        if (IsTabStop(c)) {
            FocusControl(c.id);
            return;
        }
    }
}

void DialogLayer::FocusControl(int id)
{
    if (dropCombo_ != 0 && dropCombo_ != id)
        CloseDrop(false);
    if (id != window_.FocusId())
        if (const toolkit::ControlState* c = window_.Find(id); c && (c->kind == toolkit::ControlKind::Edit || c->kind == toolkit::ControlKind::ComboBox))
            EditFor(*c).SelectAll();
    window_.SetFocus(id);
}

void DialogLayer::MoveFocus(int direction)
{
    const std::vector<int> stops = TabStops();
    if (stops.empty())
        return;
    const auto at = std::find(stops.begin(), stops.end(), window_.FocusId());
    int i = at == stops.end() ? (direction > 0 ? -1 : 0) : static_cast<int>(at - stops.begin());
    const int n = static_cast<int>(stops.size());
    i = ((i + direction) % n + n) % n;
    FocusControl(stops[static_cast<std::size_t>(i)]);
}

LineEdit& DialogLayer::EditFor(const toolkit::ControlState& c)
{
    LineEdit& e = edits_[c.id];
    if (e.text != c.text) {
        e.text = c.text;
        e.Clamp();
    }
    return e;
}

toolkit::CtlColorRequest DialogLayer::AskColors(int id)
{
    toolkit::CtlColorRequest request;
    request.controlId = id;
    toolkit::Message m;
    m.kind = toolkit::MsgKind::CtlColor;
    m.id = id;
    m.color = &request;
    dialog_.Dispatch(m);
    return request;
}

void DialogLayer::Send(toolkit::MsgKind kind, int id)
{
    toolkit::Message m;
    m.kind = kind;
    m.id = id;
    dialog_.Dispatch(m);
}

int DialogLayer::DefaultButton() const
{
    for (const auto& c : window_.Controls())
        if (c.kind == toolkit::ControlKind::PushButton && c.tmpl && c.tmpl->DefaultButton() && c.id != -1)
            return c.id;
    return toolkit::OkCommand;
}

// ---- timers --------------------------------------------------------------

void DialogLayer::FireTimers(SteadyTime now)
{
    if (Done())
        return;
    while (const std::optional<int> id = window_.TakeDueTimer(now)) {
        toolkit::Message m;
        m.kind = toolkit::MsgKind::Timer;
        m.id = *id;
        dialog_.Dispatch(m);
        window_.TimerDone(*id);
    }
}

std::optional<SteadyTime> DialogLayer::NextTimer() const
{
    if (Done())
        return std::nullopt;
    return window_.NextTimer();
}

} // namespace backends::terminal
