#include "backends/terminal/MenuView.h"

#include "platform/CaseFold.h"
#include "platform/Cp1252.h"
#include "backends/terminal/TextLayout.h"
#include "backends/terminal/Texts.h"
#include "backends/terminal/Theme.h"

#include <algorithm>

namespace backends::terminal {

namespace {

bool Selectable(const toolkit::MenuItemState& item)
{
    return !item.separator && !item.popup;
}

int CaptionWidth(const MenuEntry& e)
{
    return static_cast<int>(ParseLabel(e.caption).text.size()) + 2;
}

std::pair<std::string, std::string> SplitAccelerator(const std::string& text)
{
    const auto tab = text.find('\t');
    if (tab == std::string::npos)
        return {text, {}};
    return {text.substr(0, tab), text.substr(tab + 1)};
}

} // namespace

std::vector<MenuEntry> MenuEntries(const toolkit::ModelWindow& window)
{
    std::vector<MenuEntry> out;
    if (window.HasSystemMenu()) {
        MenuEntry sys;
        sys.caption = "-";
        sys.system = true;
        toolkit::MenuItemState close;
        close.text = platform::Text(text::SystemMenuClose) + "\tAlt+F4";
        close.id = toolkit::SystemCloseCommand;
        sys.items.push_back(close);
        for (const auto& extra : window.SystemMenuExtra())
            sys.items.push_back(extra);
        out.push_back(std::move(sys));
    }
    for (const auto& top : window.Menu()) {
        MenuEntry e;
        e.caption = top.text;
        e.items = top.items;
        out.push_back(std::move(e));
    }
    return out;
}

std::optional<int> MenuView::EntryFor(const std::vector<MenuEntry>& entries, char mnemonic)
{
    if (mnemonic == '\0')
        return std::nullopt;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (!entries[i].system && MnemonicOf(entries[i].caption) == mnemonic)
            return static_cast<int>(i);
    return std::nullopt;
}

void MenuView::Open(const std::vector<MenuEntry>& entries, int entry)
{
    if (entries.empty())
        return;
    open_ = true;
    entry_ = std::clamp(entry, 0, static_cast<int>(entries.size()) - 1);
    item_ = -1;
    Step(entries[static_cast<std::size_t>(entry_)].items, 1);
}

void MenuView::Step(const std::vector<toolkit::MenuItemState>& items, int direction)
{
    const int n = static_cast<int>(items.size());
    for (int k = 1; k <= n; ++k) {
        const int i = ((item_ + direction * k) % n + n) % n;
        if (Selectable(items[static_cast<std::size_t>(i)])) {
            item_ = i;
            return;
        }
    }
}

std::optional<MenuChoice> MenuView::HandleKey(const std::vector<MenuEntry>& entries, const Key& key)
{
    if (entries.empty()) {
        open_ = false;
        return std::nullopt;
    }
    entry_ = std::clamp(entry_, 0, static_cast<int>(entries.size()) - 1);
    const MenuEntry& entry = entries[static_cast<std::size_t>(entry_)];
    const int n = static_cast<int>(entries.size());
    const auto choose = [&](int index) -> std::optional<MenuChoice> {
        const toolkit::MenuItemState& item = entry.items[static_cast<std::size_t>(index)];
        if (!Selectable(item))
            return std::nullopt;
        open_ = false;
        return MenuChoice{item.id, entry.system};
    };
    switch (key.code) {
    case KeyCode::Escape:
        open_ = false;
        return std::nullopt;
    case KeyCode::Function:
        if (key.function == 10)
            open_ = false;
        return std::nullopt;
    case KeyCode::Left:
        Open(entries, (entry_ + n - 1) % n);
        return std::nullopt;
    case KeyCode::Right:
        Open(entries, (entry_ + 1) % n);
        return std::nullopt;
    case KeyCode::Up:
        Step(entry.items, -1);
        return std::nullopt;
    case KeyCode::Down:
        Step(entry.items, 1);
        return std::nullopt;
    case KeyCode::Home:
        item_ = -1;
        Step(entry.items, 1);
        return std::nullopt;
    case KeyCode::End:
        item_ = static_cast<int>(entry.items.size());
        Step(entry.items, -1);
        return std::nullopt;
    case KeyCode::Enter:
        if (item_ >= 0 && item_ < static_cast<int>(entry.items.size()))
            return choose(item_);
        return std::nullopt;
    case KeyCode::Char: {
        if (key.ch == U' ' && !key.alt)
            return item_ >= 0 ? choose(item_) : std::nullopt;
        const auto c = platform::EncodeCp1252(key.ch);
        if (!c || key.ctrl)
            return std::nullopt;
        const char letter = platform::FoldCase(*c);
        if (key.alt) {
            if (const auto other = EntryFor(entries, letter))
                Open(entries, *other);
            return std::nullopt;
        }
        for (std::size_t i = 0; i < entry.items.size(); ++i)
            if (Selectable(entry.items[i]) && MnemonicOf(SplitAccelerator(entry.items[i].text).first) == letter)
                return choose(static_cast<int>(i));
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

void MenuView::DrawBar(CellScreen& screen, const std::vector<MenuEntry>& entries, int x, int y, int width) const
{
    using namespace theme;
    const CellStyle bar = Style(kBlack, kMenuBar);
    const CellStyle active = Style(kHighlightText, kHighlight);
    screen.Fill({x, y, width, 1}, bar);
    int at = x + 1;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const bool on = open_ && static_cast<int>(i) == entry_;
        const CellStyle& s = on ? active : bar;
        const int w = CaptionWidth(entries[i]);
        screen.Fill({at, y, w, 1}, s);
        screen.Label(at + 1, y, entries[i].caption, s, x + width - at - 1);
        at += w;
    }
}

void MenuView::DrawDropDown(CellScreen& screen, const std::vector<MenuEntry>& entries, int x, int y, bool bar) const
{
    using namespace theme;
    if (!open_ || entries.empty())
        return;
    const MenuEntry& entry = entries[static_cast<std::size_t>(std::clamp(entry_, 0, static_cast<int>(entries.size()) - 1))];
    int left = x;
    int top = y;
    if (bar) {
        left = x + 1;
        for (int i = 0; i < entry_; ++i)
            left += CaptionWidth(entries[static_cast<std::size_t>(i)]);
        top = y + 1;
    }
    int labelWidth = 0, accelWidth = 0;
    for (const auto& item : entry.items) {
        const auto [label, accel] = SplitAccelerator(item.text);
        labelWidth = std::max(labelWidth, static_cast<int>(ParseLabel(label).text.size()));
        accelWidth = std::max(accelWidth, static_cast<int>(accel.size()));
    }
    const int inner = labelWidth + (accelWidth > 0 ? accelWidth + 3 : 0) + 2;
    const CellRect box{std::min(left, std::max(0, screen.Cols() - inner - 2)), top, inner + 2,
                       static_cast<int>(entry.items.size()) + 2};
    const CellStyle face = Style(kBlack, kMenuBar);
    const CellStyle active = Style(kHighlightText, kHighlight);
    screen.Recolor({box.x + 1, box.Bottom(), box.w, 1}, kShadowText, kShadow);
    screen.Recolor({box.Right(), box.y + 1, 1, box.h}, kShadowText, kShadow);
    screen.Fill(box, face);
    screen.Frame(box, Style(kFrame, kMenuBar));
    for (std::size_t i = 0; i < entry.items.size(); ++i) {
        const int row = box.y + 1 + static_cast<int>(i);
        const toolkit::MenuItemState& item = entry.items[i];
        if (item.separator) {
            for (int cx = box.x + 1; cx < box.Right() - 1; ++cx)
                screen.Put(cx, row, U'─', Style(kFrame, kMenuBar));
            screen.Put(box.x, row, U'├', Style(kFrame, kMenuBar));
            screen.Put(box.Right() - 1, row, U'┤', Style(kFrame, kMenuBar));
            continue;
        }
        const CellStyle& s = static_cast<int>(i) == item_ ? active : face;
        screen.Fill({box.x + 1, row, inner, 1}, s);
        const auto [label, accel] = SplitAccelerator(item.text);
        screen.Label(box.x + 2, row, label, s, labelWidth);
        if (!accel.empty())
            screen.Text(box.Right() - 2 - static_cast<int>(accel.size()), row, accel, s);
        if (item.popup)
            screen.Put(box.Right() - 2, row, U'►', s);
    }
}

} // namespace backends::terminal
