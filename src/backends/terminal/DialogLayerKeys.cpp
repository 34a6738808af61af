// Keys in one dialog: menus, focus, and what each kind of control does with
// a key, as a user's clicks and typing would.
#include "backends/terminal/DialogLayer.h"

#include "platform/CaseFold.h"
#include "platform/Cp1252.h"
#include "backends/terminal/TextLayout.h"

#include <algorithm>

namespace backends::terminal {

namespace {

int Count(const std::vector<std::string>& v)
{
    return static_cast<int>(v.size());
}

std::optional<char> Letter(const Key& key)
{
    if (key.code != KeyCode::Char || key.ctrl || key.ch <= U' ')
        return std::nullopt;
    const auto c = platform::EncodeCp1252(key.ch);
    if (!c)
        return std::nullopt;
    return platform::FoldCase(*c);
}

// The next entry after `from`, wrapping, whose text begins with the letter.
int FindByLetter(const std::vector<std::string>& texts, int from, char letter)
{
    const int n = Count(texts);
    for (int k = 1; k <= n; ++k) {
        const int i = ((from + k) % n + n) % n;
        const std::string& t = texts[static_cast<std::size_t>(i)];
        const auto first = t.find_first_not_of(' ');
        if (first != std::string::npos && platform::FoldCase(t[first]) == letter)
            return i;
    }
    return -1;
}

bool IsAltArrow(const Key& key)
{
    return key.alt && (key.code == KeyCode::Down || key.code == KeyCode::Up);
}

} // namespace

void DialogLayer::HandleKey(const Key& key)
{
    EnsureFocus();
    if (menu_.IsOpen()) {
        HandleMenuKey(key);
        return;
    }
    if (toolkit::ControlState* c = window_.Find(dropCombo_); c && HandleDropKey(*c, key))
        return;
    if (HandleAccelerator(key))
        return;
    if (HandleGlobalKey(key))
        return;
    toolkit::ControlState* c = Focused();
    if (!c)
        return;
    switch (c->kind) {
    case toolkit::ControlKind::ListView:
        HandleListKey(*c, key);
        break;
    case toolkit::ControlKind::ComboBox:
        HandleComboKey(*c, key);
        break;
    case toolkit::ControlKind::Edit:
        HandleEditKey(*c, key);
        break;
    case toolkit::ControlKind::RadioButton:
        HandleRadioKey(*c, key);
        break;
    case toolkit::ControlKind::CheckBox:
        if (key.code == KeyCode::Char && key.ch == U' ' && !key.alt && !key.ctrl)
            c->checked = !c->checked;
        else if (key.code == KeyCode::Down || key.code == KeyCode::Right)
            MoveFocus(1);
        else if (key.code == KeyCode::Up || key.code == KeyCode::Left)
            MoveFocus(-1);
        break;
    case toolkit::ControlKind::PushButton:
        if (key.code == KeyCode::Char && key.ch == U' ' && !key.alt && !key.ctrl)
            dialog_.SendCommand(c->id);
        else if (key.code == KeyCode::Down || key.code == KeyCode::Right)
            MoveFocus(1);
        else if (key.code == KeyCode::Up || key.code == KeyCode::Left)
            MoveFocus(-1);
        break;
    default:
        break;
    }
}

bool DialogLayer::HandleGlobalKey(const Key& key)
{
    const std::vector<MenuEntry> entries = MenuEntries(window_);
    const bool hasSystem = window_.HasSystemMenu();
    if (key.code == KeyCode::Function && key.function == 10 && !key.alt) {
        const int first = hasSystem && static_cast<int>(entries.size()) > 1 ? 1 : 0;
        menu_.Open(entries, first);
        return true;
    }
    if (key.code == KeyCode::Function && key.function == 4 && key.alt) {
        Send(toolkit::MsgKind::Close, 0);
        return true;
    }
    if (key.code == KeyCode::Function && key.function == 1) {
        Send(toolkit::MsgKind::HelpInfo, 0);
        return true;
    }
    if (key.code == KeyCode::Char && key.ctrl && (key.ch == U'q' || key.ch == U'c')) {
        Send(toolkit::MsgKind::Close, 0);
        return true;
    }
    if (key.code == KeyCode::Char && key.alt && key.ch == U' ') {
        if (hasSystem)
            menu_.Open(entries, 0);
        return true;
    }
    if (key.code == KeyCode::Char && key.alt && !key.ctrl) {
        // A control's mnemonic comes first, as in a Windows dialog, where the
        // menu bar gets only the letters that no visible control claims.
        if (const auto letter = Letter(key)) {
            if (HandleMnemonic(*letter))
                return true;
            if (const auto entry = MenuView::EntryFor(entries, *letter)) {
                menu_.Open(entries, *entry);
                return true;
            }
            return false;
        }
        return true;
    }
    switch (key.code) {
    case KeyCode::Tab:
        MoveFocus(key.shift ? -1 : 1);
        return true;
    case KeyCode::Escape:
        dialog_.SendCommand(toolkit::CancelCommand);
        return true;
    case KeyCode::Enter: {
        toolkit::ControlState* f = Focused();
        if (f && f->kind == toolkit::ControlKind::PushButton) {
            dialog_.SendCommand(f->id);
        } else if (f && f->kind == toolkit::ControlKind::ComboBox && f->dropList) {
            OpenDrop(*f);
        } else {
            dialog_.SendCommand(DefaultButton());
        }
        return true;
    }
    default:
        return false;
    }
}

bool DialogLayer::HandleMnemonic(char letter)
{
    auto& cs = window_.Controls();
    for (std::size_t i = 0; i < cs.size(); ++i) {
        toolkit::ControlState& c = cs[i];
        if (!c.visible || MnemonicOf(c.text) != letter)
            continue;
        switch (c.kind) {
        case toolkit::ControlKind::PushButton:
            FocusControl(c.id);
            dialog_.SendCommand(c.id);
            return true;
        case toolkit::ControlKind::RadioButton:
            FocusControl(c.id);
            window_.ClickRadio(c.id);
            return true;
        case toolkit::ControlKind::CheckBox:
            FocusControl(c.id);
            c.checked = !c.checked;
            return true;
        case toolkit::ControlKind::GroupBox:
        case toolkit::ControlKind::StaticText:
            // A label hands the focus to the control after it.
            for (std::size_t k = i + 1; k < cs.size(); ++k)
                if (IsTabStop(cs[k])) {
                    FocusControl(cs[k].id);
                    return true;
                }
            return true;
        default:
            if (IsTabStop(c))
                FocusControl(c.id);
            return true;
        }
    }
    return false;
}

void DialogLayer::HandleMenuKey(const Key& key)
{
    const std::vector<MenuEntry> entries = MenuEntries(window_);
    const std::optional<MenuChoice> choice = menu_.HandleKey(entries, key);
    if (!choice)
        return;
    Send(choice->system ? toolkit::MsgKind::SysCommand : toolkit::MsgKind::Command, choice->id);
}

void DialogLayer::OpenDrop(toolkit::ControlState& c)
{
    dropCombo_ = c.id;
    dropScroll_ = 0;
    dropIndex_ = c.curSel;
    if (dropIndex_ < 0 && !c.dropList && !c.text.empty())
        for (int i = 0; i < Count(c.entries); ++i)
            if (platform::StartsWithNoCase(c.entries[static_cast<std::size_t>(i)], c.text)) {
                dropIndex_ = i;
                break;
            }
}

void DialogLayer::CloseDrop(bool apply)
{
    toolkit::ControlState* c = window_.Find(dropCombo_);
    dropCombo_ = 0;
    if (c && apply && dropIndex_ >= 0 && dropIndex_ < Count(c->entries)) {
        window_.ComboSetCurSel(c->id, dropIndex_);
        EditFor(*c).SelectAll();
    }
}

bool DialogLayer::HandleDropKey(toolkit::ControlState& c, const Key& key)
{
    const int n = Count(c.entries);
    if (const auto to = Navigate(key, dropIndex_, n, kDropRows); to && !key.alt) {
        dropIndex_ = *to;
        return true;
    }
    if (key.code == KeyCode::Escape) {
        CloseDrop(false);
        return true;
    }
    const bool space = key.code == KeyCode::Char && key.ch == U' ' && !key.alt && !key.ctrl;
    if (key.code == KeyCode::Enter || IsAltArrow(key) || (key.code == KeyCode::Function && key.function == 4 && !key.alt) ||
        (space && c.dropList)) {
        CloseDrop(true);
        return true;
    }
    if (key.code == KeyCode::Tab) {
        CloseDrop(true);
        return false; // and the Tab moves on
    }
    if (c.dropList) {
        if (const auto letter = Letter(key); letter && !key.alt) {
            if (const int i = FindByLetter(c.entries, dropIndex_, *letter); i >= 0)
                dropIndex_ = i;
            return true;
        }
        return false;
    }
    // An edit field under an open list: typing goes to the field and the list
    // follows what was typed.
    LineEdit& e = EditFor(c);
    if (key.code != KeyCode::Left && key.code != KeyCode::Right && e.HandleKey(key)) {
        c.text = e.text;
        c.curSel = -1;
        dropIndex_ = -1;
        if (!c.text.empty())
            for (int i = 0; i < n; ++i)
                if (platform::StartsWithNoCase(c.entries[static_cast<std::size_t>(i)], c.text)) {
                    dropIndex_ = i;
                    break;
                }
        return true;
    }
    return false;
}

void DialogLayer::HandleListKey(toolkit::ControlState& c, const Key& key)
{
    const int n = Count(c.items);
    const auto rows = listRows_.find(c.id);
    const int page = rows == listRows_.end() ? 10 : rows->second;
    if (const auto to = Navigate(key, c.selectionMark, n, page)) {
        window_.ClickListItem(c.id, *to);
        return;
    }
    if (key.code == KeyCode::Char && key.ch == U' ' && !key.ctrl) {
        if (c.selectionMark >= 0 && c.selectionMark < n)
            window_.ClickListItem(c.id, c.selectionMark);
        return;
    }
    if (key.code == KeyCode::Right || key.code == KeyCode::Left)
        return;
    if (const auto letter = Letter(key)) {
        if (const int i = FindByLetter(c.items, c.selectionMark, *letter); i >= 0)
            window_.ClickListItem(c.id, i);
    }
}

void DialogLayer::HandleComboKey(toolkit::ControlState& c, const Key& key)
{
    const int n = Count(c.entries);
    if (IsAltArrow(key) || (key.code == KeyCode::Function && key.function == 4)) {
        OpenDrop(c);
        return;
    }
    if (c.dropList) {
        if (key.code == KeyCode::Char && key.ch == U' ' && !key.ctrl) {
            OpenDrop(c);
            return;
        }
        Key step = key;
        if (key.code == KeyCode::Left)
            step.code = KeyCode::Up;
        else if (key.code == KeyCode::Right)
            step.code = KeyCode::Down;
        if (const auto to = Navigate(step, c.curSel, n, kDropRows)) {
            window_.ComboSetCurSel(c.id, *to);
            return;
        }
        if (const auto letter = Letter(key))
            if (const int i = FindByLetter(c.entries, c.curSel, *letter); i >= 0)
                window_.ComboSetCurSel(c.id, i);
        return;
    }
    if (key.code == KeyCode::Up || key.code == KeyCode::Down || key.code == KeyCode::PageUp ||
        key.code == KeyCode::PageDown) {
        if (const auto to = Navigate(key, c.curSel, n, kDropRows)) {
            window_.ComboSetCurSel(c.id, *to);
            EditFor(c).SelectAll();
        }
        return;
    }
    LineEdit& e = EditFor(c);
    // Space chooses, as in the other controls: over an entry chosen with the
    // arrows (its text selected whole) it would otherwise blank the field.
    if (key.code == KeyCode::Char && key.ch == U' ' && !key.ctrl && !key.alt && e.selected && c.curSel >= 0)
        return;
    const std::string before = e.text;
    if (e.HandleKey(key) && e.text != before) {
        c.text = e.text;
        c.curSel = -1;
    }
}

void DialogLayer::HandleEditKey(toolkit::ControlState& c, const Key& key)
{
    LineEdit& e = EditFor(c);
    if (e.HandleKey(key))
        window_.SetItemText(c.id, e.text);
    else if (key.code == KeyCode::Down)
        MoveFocus(1);
    else if (key.code == KeyCode::Up)
        MoveFocus(-1);
}

void DialogLayer::HandleRadioKey(toolkit::ControlState& c, const Key& key)
{
    if (key.code == KeyCode::Char && key.ch == U' ' && !key.ctrl) {
        window_.ClickRadio(c.id);
        return;
    }
    int direction = 0;
    if (key.code == KeyCode::Down || key.code == KeyCode::Right)
        direction = 1;
    else if (key.code == KeyCode::Up || key.code == KeyCode::Left)
        direction = -1;
    if (direction == 0)
        return;
    // Arrows move through the visible buttons of the group and check the one
    // they reach, as automatic radio buttons do.
    std::vector<int> group;
    for (int member : window_.Template().RadioGroup(c.id))
        if (window_.IsItemVisible(member))
            group.push_back(member);
    const auto pos = std::find(group.begin(), group.end(), c.id);
    if (pos == group.end() || group.size() < 2) {
        MoveFocus(direction);
        return;
    }
    const int n = static_cast<int>(group.size());
    const int i = ((static_cast<int>(pos - group.begin()) + direction) % n + n) % n;
    const int next = group[static_cast<std::size_t>(i)];
    FocusControl(next);
    window_.ClickRadio(next);
}

} // namespace backends::terminal
