#include "backends/headless/HeadlessBackend.h"

#include "toolkit/Resources.h"
#include "backends/headless/EventText.h"

#include <initializer_list>
#include <istream>
#include <ostream>
#include <sstream>

namespace backends::headless {

namespace {

std::string ResultName(toolkit::Answer result)
{
    switch (result) {
    case toolkit::Answer::Ok: return "IDOK";
    case toolkit::Answer::Cancel: return "IDCANCEL";
    case toolkit::Answer::Yes: return "IDYES";
    case toolkit::Answer::No: return "IDNO";
    }
    return std::to_string(static_cast<int>(result));
}

// The system menu's Close and the entries the program appended to it are
// system commands; both exist only where the window has a system menu.
bool IsSystemCommand(const toolkit::ModelWindow& window, int id)
{
    if (id == toolkit::SystemCloseCommand)
        return window.HasSystemMenu();
    for (const toolkit::MenuItemState& item : window.SystemMenuExtra())
        if (!item.separator && item.id == id)
            return true;
    return false;
}

bool MenuHasCommand(const std::vector<toolkit::MenuItemState>& items, int id)
{
    for (const toolkit::MenuItemState& m : items)
        if ((!m.popup && !m.separator && m.id == id) || MenuHasCommand(m.items, id))
            return true;
    return false;
}

toolkit::ControlState* FirstControlOfKind(toolkit::ModelWindow& window, toolkit::ControlKind kind)
{
    for (auto& c : window.Controls())
        if (c.kind == kind)
            return &c;
    return nullptr;
}

// The control `id` when it is of one of the kinds the command works on.
toolkit::ControlState* ControlOfKind(toolkit::ModelWindow& window, int id, std::initializer_list<toolkit::ControlKind> kinds)
{
    toolkit::ControlState* c = window.Find(id);
    for (toolkit::ControlKind kind : kinds)
        if (c && c->kind == kind)
            return c;
    return nullptr;
}

// What a user can click or type into. No control of ours can be disabled
// yet; a hidden one is out of reach.
bool Reachable(const toolkit::ControlState& c)
{
    return c.visible;
}

// A box with a field to type into or a list to choose from stays open for
// the script, which works in it until it ends; other boxes are answered at
// once (About, the language box with `choose`).
bool WorkedInByScript(const toolkit::ModelWindow& window)
{
    for (const auto& c : window.Controls())
        if (c.kind == toolkit::ControlKind::Edit || c.kind == toolkit::ControlKind::ListView)
            return true;
    return false;
}

constexpr toolkit::KeyChord kF1{toolkit::FunctionKeyCode(1)};

bool WithinItems(int index, std::size_t count)
{
    return index >= 0 && static_cast<std::size_t>(index) < count;
}

void DumpMenu(std::ostream& out, const std::vector<toolkit::MenuItemState>& items, const std::string& prefix)
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

void HeadlessBackend::Ignore(const ScriptCommand& command)
{
    Emit("ignored " + Quote(command.line));
}

void HeadlessBackend::Bad(const std::string& line)
{
    badCommand_ = true;
    Emit("bad command " + Quote(line));
}

void HeadlessBackend::Missing(const ScriptCommand& command)
{
    if (open_.size() > 1)
        Ignore(command);
    else
        Bad(command.line);
}

const toolkit::AcceleratorTable* HeadlessBackend::Accelerators() const
{
    for (auto d = open_.rbegin(); d != open_.rend(); ++d)
        if (const int menu = d->window->Template().menuId; menu != 0)
            return toolkit::FindAccelerators(menu);
    return nullptr;
}

std::optional<ScriptCommand> HeadlessBackend::NextCommand()
{
    if (!pending_.empty()) {
        ScriptCommand command = pending_.front();
        pending_.pop_front();
        return command;
    }
    for (std::string line; std::getline(in_, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // A comment is a line that starts with '#': typed texts may hold one.
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        if (std::optional<ScriptCommand> command = ParseScriptCommand(line))
            return command;
        Bad(line);
    }
    return std::nullopt;
}

void HeadlessBackend::QueueLeadingAnswers()
{
    while (std::optional<ScriptCommand> command = NextCommand())
        if (!QueueAnswer(*command)) {
            pending_.push_front(*command);
            return;
        }
}

bool HeadlessBackend::QueueAnswer(const ScriptCommand& command)
{
    if (command.verb == ScriptVerb::Answer)
        answers_.push_back(command);
    else if (command.verb == ScriptVerb::Pick)
        picks_.push_back(command);
    else if (command.verb == ScriptVerb::Choose)
        choices_.push_back(command);
    else
        return false;
    return true;
}

int HeadlessBackend::Finish()
{
    // A script that goes on after the dialog has ended expected a window
    // that is gone: each line is reported, and the run fails.
    bool afterEnd = false;
    while (const std::optional<ScriptCommand> command = NextCommand()) {
        Ignore(*command);
        afterEnd = true;
    }
    for (const auto* queue : {&answers_, &picks_, &choices_})
        for (const ScriptCommand& unused : *queue)
            Ignore(unused);
    answers_.clear();
    picks_.clear();
    choices_.clear();
    return badCommand_ || afterEnd ? 2 : 0;
}

toolkit::Answer HeadlessBackend::RunModal(toolkit::CDialog& dialog)
{
    toolkit::ModelWindow window(dialog.Template(), *this);
    dialog.AttachWindow(&window);
    open_.push_back({&dialog, &window});
    const toolkit::Answer result = open_.size() == 1 ? RunMain(dialog, window) : RunNested(dialog, window);
    open_.pop_back();
    dialog.AttachWindow(nullptr);
    return result;
}

toolkit::Answer HeadlessBackend::RunMain(toolkit::CDialog& dialog, toolkit::ModelWindow& window)
{
    // A main dialog that cannot initialise has nothing to show: it ends.
    if (!dialog.RunInitDialog())
        window.EndDialog(toolkit::Answer::Cancel);
    while (!window.EndResult()) {
        const std::optional<ScriptCommand> command = NextCommand();
        if (!command)
            break;
        Execute(dialog, window, *command);
    }
    const toolkit::Answer result = window.EndResult().value_or(toolkit::Answer::Cancel);
    if (window.EndResult())
        Emit("ended " + ResultName(result));
    return result;
}

toolkit::Answer HeadlessBackend::RunNested(toolkit::CDialog& dialog, toolkit::ModelWindow& window)
{
    if (!dialog.RunInitDialog())
        window.EndDialog(toolkit::Answer::Cancel);
    if (!window.EndResult() && WorkedInByScript(window)) {
        while (!window.EndResult()) {
            const std::optional<ScriptCommand> command = NextCommand();
            // A script that ends while the box is open leaves it unanswered.
            if (!command)
                return toolkit::Answer::Cancel;
            Execute(dialog, window, *command);
        }
    } else if (!window.EndResult()) {
        toolkit::ControlState* combo = FirstControlOfKind(window, toolkit::ControlKind::ComboBox);
        if (combo && !choices_.empty()) {
            const ScriptCommand choice = choices_.front();
            choices_.pop_front();
            Tick(choice.ticks);
            window.SetItemText(combo->id, choice.text);
        }
        dialog.SendCommand(toolkit::OkCommand);
    }
    const toolkit::Answer result = window.EndResult().value_or(toolkit::Answer::Cancel);
    Emit("dialog " + std::to_string(window.Template().id) + " caption=" + Quote(window.Caption()) +
         " -> " + ResultName(result));
    return result;
}

void HeadlessBackend::Tick(int count)
{
    for (int i = 0; i < count; ++i)
        // A handler may open a nested dialog, which is closed again when it
        // returns: the dialogs open before it are the same ones after it.
        for (std::size_t d = 0; d < open_.size(); ++d) {
            const OpenDialog open = open_[d];
            std::vector<int> timers;
            for (const auto& [timerId, interval] : open.window->Timers())
                timers.push_back(timerId);
            for (const int timerId : timers) {
                if (open.window->EndResult())
                    break;
                toolkit::Message tick;
                tick.kind = toolkit::MsgKind::Timer;
                tick.id = timerId;
                open.dialog->Dispatch(tick);
            }
        }
}

void HeadlessBackend::Execute(toolkit::CDialog& dialog, toolkit::ModelWindow& window, const ScriptCommand& command)
{
    if (QueueAnswer(command))
        return;

    const int n = command.number;
    toolkit::Message m;
    switch (command.verb) {
    case ScriptVerb::Tick:
        for (int i = 0; i < n && !window.EndResult(); ++i)
            Tick(1);
        return;
    case ScriptVerb::Select:
    case ScriptVerb::Category: {
        // The dialog's first list view, or its first combo box: the function
        // list and the category filter.
        const bool list = command.verb == ScriptVerb::Select;
        toolkit::ControlState* c = FirstControlOfKind(window, list ? toolkit::ControlKind::ListView : toolkit::ControlKind::ComboBox);
        if (!c)
            return Missing(command);
        if (!Reachable(*c) || !WithinItems(n, (list ? c->items : c->entries).size()))
            return Ignore(command);
        if (list)
            window.ClickListItem(c->id, n);
        else
            window.ComboSetCurSel(c->id, n);
        return;
    }
    case ScriptVerb::Check: {
        const toolkit::ControlState* radio = ControlOfKind(window, n, {toolkit::ControlKind::RadioButton});
        if (!radio)
            return Missing(command);
        if (!Reachable(*radio))
            return Ignore(command);
        window.ClickRadio(n);
        return;
    }
    case ScriptVerb::Type: {
        const toolkit::ControlState* field = ControlOfKind(window, n, {toolkit::ControlKind::Edit, toolkit::ControlKind::ComboBox});
        // A drop-down list has no edit field to type into.
        if (!field)
            return Missing(command);
        if (field->dropList)
            return Bad(command.line);
        if (!Reachable(*field))
            return Ignore(command);
        window.SetItemText(n, command.text);
        return;
    }
    case ScriptVerb::Click: {
        // 1 and 2 are Enter and Escape, which reach the hidden OK and Cancel.
        if (n != toolkit::OkCommand && n != toolkit::CancelCommand) {
            const toolkit::ControlState* button = ControlOfKind(window, n, {toolkit::ControlKind::PushButton});
            if (!button)
                return Missing(command);
            if (!Reachable(*button))
                return Ignore(command);
        }
        dialog.SendCommand(n);
        return;
    }
    case ScriptVerb::Menu:
        if (IsSystemCommand(window, n))
            m.kind = toolkit::MsgKind::SysCommand;
        else if (MenuHasCommand(window.Menu(), n))
            m.kind = toolkit::MsgKind::Command;
        else
            return Ignore(command);
        m.id = n;
        dialog.Dispatch(m);
        return;
    case ScriptVerb::Close:
        // The close box belongs to the system menu.
        if (!window.HasSystemMenu())
            return Ignore(command);
        m.kind = toolkit::MsgKind::Close;
        dialog.Dispatch(m);
        return;
    case ScriptVerb::Key: {
        if (command.key == kF1) {
            m.kind = toolkit::MsgKind::HelpInfo;
            dialog.Dispatch(m);
            return;
        }
        const toolkit::AcceleratorTable* keys = Accelerators();
        const std::optional<int> id = keys ? keys->CommandFor(command.key) : std::nullopt;
        if (!id)
            return Ignore(command);
        dialog.SendCommand(*id);
        return;
    }
    case ScriptVerb::Dump:
        Dump(window);
        return;
    case ScriptVerb::Answer:
    case ScriptVerb::Pick:
    case ScriptVerb::Choose:
        return; // queued above
    }
}

void HeadlessBackend::Dump(const toolkit::ModelWindow& window)
{
    std::ostringstream out;
    // A box that the script works in says which box it is.
    if (open_.size() > 1)
        out << "box " << window.Template().id << " caption=" << Quote(window.Caption()) << '\n';
    for (const auto& c : window.Controls()) {
        if (c.id == -1)
            continue;
        out << "control " << c.id << (c.visible ? " shown" : " hidden") << (c.checked ? " checked" : "") << ' '
            << Quote(window.GetItemText(c.id)) << '\n';
    }
    for (const auto& c : window.Controls()) {
        if (c.kind != toolkit::ControlKind::ListView)
            continue;
        out << "list " << c.id << " mark=" << c.selectionMark << " count=" << c.items.size() << '\n';
        // A list of one column prints its items alone, as it always has.
        const int columns = c.columns.size() > 1 ? static_cast<int>(c.columns.size()) : 1;
        for (int k = 0; columns > 1 && k < columns; ++k)
            out << "column " << k << ' ' << Quote(c.columns[static_cast<std::size_t>(k)].title) << '\n';
        for (std::size_t i = 0; i < c.items.size(); ++i) {
            out << "item " << i << (c.selected.count(static_cast<int>(i)) ? " selected" : "");
            for (int k = 0; k < columns; ++k)
                out << ' ' << Quote(window.ListItemText(c.id, static_cast<int>(i), k));
            out << '\n';
        }
    }
    for (const auto& c : window.Controls()) {
        if (c.kind != toolkit::ControlKind::ComboBox)
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

toolkit::Answer HeadlessBackend::ShowMessageBox(std::string_view text, std::string_view caption, toolkit::BoxStyle style)
{
    const bool yesNo = style.buttons == toolkit::BoxButtons::YesNo;
    // Yes/No offers no Cancel and ignores Escape, unless it is a question
    // whose Escape answers No; an OK box takes Escape as OK.
    const bool escapeOffered = !yesNo || style.safeNo;
    toolkit::Answer result = yesNo ? toolkit::Answer::Yes : toolkit::Answer::Ok;
    if (!answers_.empty()) {
        const ScriptCommand answer = answers_.front();
        answers_.pop_front();
        const std::string& word = answer.text;
        const bool offered = yesNo ? word == "yes" || word == "no" : word == "ok";
        if (!offered && !(word == "cancel" && escapeOffered)) {
            Ignore(answer);
        } else {
            Tick(answer.ticks);
            if (word == "no" || (yesNo && word == "cancel"))
                result = toolkit::Answer::No;
        }
    }
    const std::string shown = result == toolkit::Answer::Yes ? "yes" : result == toolkit::Answer::No ? "no" : "ok";
    const char* icon = style.icon == toolkit::BoxIcon::Question ? "question" : style.icon == toolkit::BoxIcon::Error ? "error" : "none";
    const char* buttons = !yesNo ? "ok" : style.safeNo ? "yesno default=no" : "yesno";
    Emit("msgbox caption=" + Quote(caption) + " text=" + Quote(text) + " buttons=" + buttons + " icon=" + icon +
         " -> " + shown);
    return result;
}

std::optional<std::string> HeadlessBackend::NextPick()
{
    // Nothing queued is a cancel, as is an explicit `pick cancel`.
    if (picks_.empty())
        return std::nullopt;
    const ScriptCommand pick = picks_.front();
    picks_.pop_front();
    Tick(pick.ticks);
    if (pick.text == "cancel")
        return std::nullopt;
    return pick.text;
}

std::optional<std::string> HeadlessBackend::ShowFileDialog(const toolkit::FileDialogRequest& request)
{
    const std::optional<std::string> result = NextPick();
    Emit("filedialog filter=" + Quote(request.filter) + " folder=" + Quote(request.initialFolder) + " -> " +
         (result ? Quote(*result) : std::string("cancel")));
    return result;
}

// Where it would start is not printed: the event stays as scripts know it.
std::optional<std::string> HeadlessBackend::ShowFolderDialog(std::string_view title, std::string_view)
{
    const std::optional<std::string> result = NextPick();
    Emit("folderdialog title=" + Quote(title) + " -> " + (result ? Quote(*result) : std::string("cancel")));
    return result;
}

void HeadlessBackend::ReportError(const std::string& text)
{
    Emit("error " + Quote(text));
}

void HeadlessBackend::ShowHelp(const std::string& path)
{
    if (const auto help = toolkit::ReadHelpFile(path); !help) {
        ReportError(help.Error().message);
        return;
    }
    static_cast<void>(platform::ShellOpen(path));
}

platform::ShellResult HeadlessBackend::Open(const std::string& target)
{
    Emit("shell open " + Quote(target));
    return {};
}

} // namespace backends::headless
