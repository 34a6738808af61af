#include "toolkit/headless/HeadlessBackend.h"

#include "toolkit/Resources.h"
#include "toolkit/headless/EventText.h"

#include <iostream>
#include <sstream>

namespace tk {

namespace {

std::string ResultName(Answer result)
{
    switch (result) {
    case Answer::Ok: return "IDOK";
    case Answer::Cancel: return "IDCANCEL";
    case Answer::Yes: return "IDYES";
    case Answer::No: return "IDNO";
    }
    return std::to_string(static_cast<int>(result));
}

// The system Close and the entries the program appended to the system menu
// are system commands; every other id is an ordinary command.
bool IsSystemCommand(const ModelWindow& window, int id)
{
    if (id == SystemCloseCommand)
        return true;
    for (const MenuItemState& item : window.SystemMenuExtra())
        if (!item.separator && item.id == id)
            return true;
    return false;
}

std::string Trim(const std::string& s)
{
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return {};
    const auto e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

// The verb, and the rest of the line after the one blank that follows it.
// Only `type` keeps the rest as it stands; the others trim it.
void Split(const std::string& line, std::string& verb, std::string& rest)
{
    const auto start = line.find_first_not_of(" \t");
    const std::string t = start == std::string::npos ? std::string() : line.substr(start);
    const auto sp = t.find(' ');
    verb = t.substr(0, sp);
    rest = sp == std::string::npos ? std::string() : t.substr(sp + 1);
    if (verb != "type")
        rest = Trim(rest);
}

bool ParseInt(const std::string& text, int& value)
{
    try {
        std::size_t used = 0;
        value = std::stoi(text, &used);
        return used == text.size();
    } catch (const std::exception&) {
        return false;
    }
}

int FirstControlOfKind(const DialogTemplate& tmpl, ControlKind kind)
{
    for (const auto& c : tmpl.controls)
        if (c.kind == kind)
            return c.id;
    return -1;
}

void DumpMenu(std::ostream& out, const std::vector<MenuItemState>& items, const std::string& prefix)
{
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto& m = items[i];
        const std::string pos = prefix + std::to_string(i);
        const std::string id = (m.popup || m.separator) ? "-" : std::to_string(m.id);
        out << "menu " << pos << ' ' << id << ' ' << Quote(m.text) << '\n';
        DumpMenu(out, m.items, pos + ".");
    }
}

} // namespace

HeadlessBackend::HeadlessBackend(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

void HeadlessBackend::Emit(const std::string& line)
{
    out_ << line << '\n';
    out_.flush();
}

void HeadlessBackend::Warn(const std::string& line)
{
    std::cerr << "tunewright-script: " << line << '\n';
}

bool HeadlessBackend::NextCommand(std::string& line)
{
    while (true) {
        if (!pending_.empty()) {
            line = pending_.front();
            pending_.pop_front();
        } else if (!std::getline(in_, line)) {
            return false;
        }
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // A comment is a line that starts with '#': typed texts may hold one.
        const std::string t = Trim(line);
        if (!t.empty() && t[0] != '#')
            return true;
    }
}

void HeadlessBackend::QueueLeadingAnswers()
{
    std::string line;
    while (NextCommand(line)) {
        std::string verb, rest;
        Split(line, verb, rest);
        if (!QueueAnswer(verb, rest)) {
            pending_.push_front(line);
            return;
        }
    }
}

bool HeadlessBackend::QueueAnswer(const std::string& verb, const std::string& rest)
{
    if (verb == "answer")
        answers_.push_back(rest);
    else if (verb == "pick")
        picks_.push_back(rest);
    else if (verb == "choose")
        choices_.push_back(rest);
    else
        return false;
    return true;
}

Answer HeadlessBackend::RunModal(CDialog& dialog)
{
    ModelWindow window(dialog.Template(), *this);
    dialog.AttachWindow(&window);
    ++depth_;
    const Answer result = depth_ == 1 ? RunMain(dialog, window) : RunNested(dialog, window);
    --depth_;
    dialog.AttachWindow(nullptr);
    return result;
}

Answer HeadlessBackend::RunMain(CDialog& dialog, ModelWindow& window)
{
    // A main dialog that cannot initialise has nothing to show: it ends.
    if (!dialog.RunInitDialog())
        window.EndDialog(Answer::Cancel);
    std::string line;
    while (!window.EndResult() && NextCommand(line))
        Execute(dialog, window, line);
    const Answer result = window.EndResult().value_or(Answer::Cancel);
    if (window.EndResult())
        Emit("ended " + ResultName(result));
    return result;
}

Answer HeadlessBackend::RunNested(CDialog& dialog, ModelWindow& window)
{
    if (!dialog.RunInitDialog())
        window.EndDialog(Answer::Cancel);
    if (!window.EndResult()) {
        const int combo = FirstControlOfKind(window.Template(), ControlKind::ComboBox);
        if (combo != -1 && !choices_.empty()) {
            window.SetItemText(combo, choices_.front());
            choices_.pop_front();
        }
        dialog.SendCommand(OkCommand);
    }
    const Answer result = window.EndResult().value_or(Answer::Cancel);
    Emit("dialog " + std::to_string(window.Template().id) + " caption=" + Quote(window.Template().caption) +
         " -> " + ResultName(result));
    return result;
}

void HeadlessBackend::Execute(CDialog& dialog, ModelWindow& window, const std::string& line)
{
    std::string verb, rest;
    Split(line, verb, rest);
    if (QueueAnswer(verb, rest))
        return;

    int n = 0;
    Message m;
    if (verb == "tick") {
        int count = 1;
        if (!rest.empty() && !ParseInt(rest, count))
            return Warn("tick takes a count: " + line);
        for (int i = 0; i < count && !window.EndResult(); ++i)
            for (const auto& [timerId, interval] : window.Timers()) {
                (void)interval;
                Message tick;
                tick.kind = MsgKind::Timer;
                tick.id = timerId;
                dialog.Dispatch(tick);
            }
    } else if (verb == "select" && ParseInt(rest, n)) {
        window.ClickListItem(FirstControlOfKind(window.Template(), ControlKind::ListView), n);
    } else if (verb == "category" && ParseInt(rest, n)) {
        window.ComboSetCurSel(FirstControlOfKind(window.Template(), ControlKind::ComboBox), n);
    } else if (verb == "check" && ParseInt(rest, n)) {
        ControlState* c = window.Find(n);
        if (!c || c->kind != ControlKind::RadioButton)
            return Warn("no radio button " + rest);
        if (!c->visible)
            return Warn("radio button " + rest + " is hidden");
        window.ClickRadio(n);
    } else if (verb == "type") {
        // The text is the rest of the line as typed, blanks included.
        const auto sp = rest.find(' ');
        const std::string id = rest.substr(0, sp);
        const std::string text = sp == std::string::npos ? std::string() : rest.substr(sp + 1);
        ControlState* c = ParseInt(id, n) ? window.Find(n) : nullptr;
        if (!c || (c->kind != ControlKind::Edit && c->kind != ControlKind::ComboBox))
            return Warn("no edit field " + id);
        if (!c->visible)
            return Warn("edit field " + id + " is hidden");
        window.SetItemText(n, text);
    } else if (verb == "click" && ParseInt(rest, n)) {
        // 1 and 2 are Enter and Escape, which reach the hidden OK and Cancel.
        const ControlState* c = window.Find(n);
        if (n != OkCommand && n != CancelCommand && (!c || !c->visible))
            return Warn("no visible button " + rest);
        dialog.SendCommand(n);
    } else if (verb == "menu" && ParseInt(rest, n)) {
        m.kind = IsSystemCommand(window, n) ? MsgKind::SysCommand : MsgKind::Command;
        m.id = n;
        dialog.Dispatch(m);
    } else if (verb == "close") {
        m.kind = MsgKind::Close;
        dialog.Dispatch(m);
    } else if (verb == "key" && rest == "F1") {
        m.kind = MsgKind::HelpInfo;
        dialog.Dispatch(m);
    } else if (verb == "dump") {
        Dump(window);
    } else {
        Warn("unknown command: " + line);
    }
}

void HeadlessBackend::Dump(const ModelWindow& window)
{
    std::ostringstream out;
    for (const auto& c : window.Controls()) {
        if (c.id == -1)
            continue;
        out << "control " << c.id << (c.visible ? " shown" : " hidden") << (c.checked ? " checked" : "") << ' '
            << Quote(window.GetItemText(c.id)) << '\n';
    }
    for (const auto& c : window.Controls()) {
        if (c.kind != ControlKind::ListView)
            continue;
        out << "list " << c.id << " mark=" << c.selectionMark << " count=" << c.items.size() << '\n';
        for (std::size_t i = 0; i < c.items.size(); ++i)
            out << "item " << i << (c.selected.count(static_cast<int>(i)) ? " selected" : "") << ' '
                << Quote(c.items[i]) << '\n';
    }
    for (const auto& c : window.Controls()) {
        if (c.kind != ControlKind::ComboBox)
            continue;
        out << "combo " << c.id << " sel=" << c.curSel << " count=" << c.entries.size() << '\n';
        for (std::size_t i = 0; i < c.entries.size(); ++i)
            out << "entry " << i << ' ' << Quote(c.entries[i]) << '\n';
    }
    DumpMenu(out, window.Menu(), "");
    const auto& sys = window.SystemMenuExtra();
    for (std::size_t i = 0; i < sys.size(); ++i)
        out << "sysmenu " << i << ' ' << (sys[i].separator ? std::string("-") : std::to_string(sys[i].id)) << ' '
            << Quote(sys[i].text) << '\n';
    out_ << out.str();
    out_.flush();
}

Answer HeadlessBackend::ShowMessageBox(std::string_view text, std::string_view caption, BoxStyle style)
{
    const bool yesNo = style.buttons == BoxButtons::YesNo;
    std::string answer;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    Answer result = Answer::Ok;
    std::string shown = "ok";
    if (yesNo) {
        const bool no = answer == "no" || answer == "cancel";
        result = no ? Answer::No : Answer::Yes;
        shown = no ? "no" : "yes";
    }
    const char* icon = style.icon == BoxIcon::Question ? "question" : style.icon == BoxIcon::Error ? "error" : "none";
    Emit("msgbox caption=" + Quote(caption) + " text=" + Quote(text) + " buttons=" + (yesNo ? "yesno" : "ok") +
         " icon=" + icon + " -> " + shown);
    return result;
}

std::optional<std::string> HeadlessBackend::NextPick()
{
    // Nothing queued is a cancel, as is an explicit `pick cancel`.
    std::optional<std::string> result;
    if (!picks_.empty()) {
        if (picks_.front() != "cancel")
            result = picks_.front();
        picks_.pop_front();
    }
    return result;
}

std::optional<std::string> HeadlessBackend::ShowFileDialog(const FileDialogRequest& request)
{
    const std::optional<std::string> result = NextPick();
    Emit("filedialog filter=" + Quote(request.filter) + " folder=" + Quote(request.initialFolder) + " -> " +
         (result ? Quote(*result) : std::string("cancel")));
    return result;
}

std::optional<std::string> HeadlessBackend::ShowFolderDialog(std::string_view title)
{
    const std::optional<std::string> result = NextPick();
    Emit("folderdialog title=" + Quote(title) + " -> " + (result ? Quote(*result) : std::string("cancel")));
    return result;
}

void HeadlessBackend::ReportError(const std::string& text)
{
    Emit("error " + Quote(text));
}

void HeadlessBackend::Open(const std::string& target)
{
    Emit("shell open " + Quote(target));
}

} // namespace tk
