#include "toolkit/model/ModelWindow.h"

#include "platform/CaseFold.h"
#include "platform/Exceptions.h"
#include "platform/SystemText.h"

#include <algorithm>

namespace toolkit {

namespace {

std::vector<MenuItemState> CopyMenu(const std::vector<MenuItemTemplate>& items)
{
    std::vector<MenuItemState> out;
    for (const auto& i : items) {
        MenuItemState s;
        s.text = i.text;
        s.id = i.id;
        s.separator = i.separator;
        s.popup = i.popup;
        s.items = CopyMenu(i.items);
        out.push_back(std::move(s));
    }
    return out;
}

} // namespace

ModelWindow::ModelWindow(const DialogTemplate& tmpl, ModalHost& host)
    : tmpl_(tmpl), host_(host), caption_(tmpl.caption)
{
    for (const auto& c : tmpl.controls) {
        ControlState s;
        s.tmpl = &c;
        s.id = c.id;
        s.kind = c.kind;
        s.text = c.text;
        s.visible = c.Visible();
        s.dropList = c.Has("CBS_DROPDOWNLIST");
        s.sorted = c.Has("CBS_SORT");
        controls_.push_back(std::move(s));
    }
    if (tmpl.menuId != 0)
        menu_ = CopyMenu(GetMenuTemplate(tmpl.menuId).items);
}

ControlState* ModelWindow::Find(int id)
{
    for (auto& c : controls_)
        if (c.id == id && id != -1)
            return &c;
    return nullptr;
}

const ControlState* ModelWindow::Find(int id) const
{
    return const_cast<ModelWindow*>(this)->Find(id);
}

ControlState& ModelWindow::Need(int id)
{
    if (ControlState* c = Find(id))
        return *c;
    throw platform::CException("dialog " + std::to_string(tmpl_.id) + " has no control " + std::to_string(id));
}

const ControlState& ModelWindow::Need(int id) const
{
    return const_cast<ModelWindow*>(this)->Need(id);
}

void ModelWindow::ClickRadio(int id)
{
    // Clear the buttons of the same group, then check this one.
    if (!tmpl_.Find(id))
        return;
    for (int member : tmpl_.RadioGroup(id))
        Need(member).checked = false;
    Need(id).checked = true;
}

void ModelWindow::ClickListItem(int id, int item)
{
    ControlState& c = Need(id);
    c.selectionMark = item;
    c.selected.clear();
    if (item >= 0 && item < static_cast<int>(c.items.size()))
        c.selected.insert(item);
}

std::string ModelWindow::GetItemText(int id) const
{
    const ControlState& c = Need(id);
    if (c.kind == ControlKind::ComboBox && c.dropList)
        return c.curSel >= 0 && c.curSel < static_cast<int>(c.entries.size()) ? c.entries[c.curSel] : std::string();
    return c.text;
}

void ModelWindow::SetItemText(int id, std::string_view text)
{
    ControlState& c = Need(id);
    if (c.kind == ControlKind::ComboBox && c.dropList)
        return; // a drop-down list has no edit field to take the text
    c.text = std::string(text);
}

void ModelWindow::SetItemWideText(int id, std::u16string_view text)
{
    ControlState& c = Need(id);
    if (c.kind == ControlKind::ComboBox && c.dropList)
        return;
    platform::CodePageText converted = platform::FromUtf16(text);
    c.text = converted.text;
    c.foreignText = std::move(converted.text);
    c.foreign = std::move(converted.foreign);
}

// Once the text has changed, by typing or by the program, it is all in the
// code page.
std::u32string ModelWindow::ItemForeignCharacters(int id) const
{
    const ControlState& c = Need(id);
    return c.text == c.foreignText ? c.foreign : std::u32string();
}

void ModelWindow::ShowItem(int id, bool show)
{
    Need(id).visible = show;
}

bool ModelWindow::IsItemVisible(int id) const
{
    return Need(id).visible;
}

void ModelWindow::SetCheck(int id, bool checked)
{
    Need(id).checked = checked;
}

bool ModelWindow::GetCheck(int id) const
{
    return Need(id).checked;
}

void ModelWindow::SetFocus(int id)
{
    focus_ = id;
}

void ModelWindow::ListDeleteAllItems(int id)
{
    ControlState& c = Need(id);
    c.items.clear();
    c.subItems.clear();
    c.wideItems.clear();
    c.selected.clear();
    c.selectionMark = -1;
}

// The texts of the columns after it move along with them.
void ModelWindow::ListDeleteColumn(int id, int column)
{
    ControlState& c = Need(id);
    if (column < 0 || column >= static_cast<int>(c.columns.size()))
        return;
    c.columns.erase(c.columns.begin() + column);
    if (column == 0)
        return;
    for (std::vector<std::string>& texts : c.subItems)
        if (column <= static_cast<int>(texts.size()))
            texts.erase(texts.begin() + (column - 1));
    for (std::vector<std::u16string>& texts : c.wideItems)
        if (column < static_cast<int>(texts.size()))
            texts.erase(texts.begin() + column);
}

void ModelWindow::ListInsertColumn(int id, int column, std::string_view title, int widthPixels)
{
    ControlState& c = Need(id);
    const int at = std::clamp(column, 0, static_cast<int>(c.columns.size()));
    c.columns.insert(c.columns.begin() + at, ListColumn{std::string(title), widthPixels});
    if (at == 0)
        return;
    for (std::vector<std::u16string>& texts : c.wideItems)
        if (at < static_cast<int>(texts.size()))
            texts.insert(texts.begin() + at, std::u16string());
    for (std::vector<std::string>& texts : c.subItems)
        if (at <= static_cast<int>(texts.size()))
            texts.insert(texts.begin() + (at - 1), std::string());
}

void ModelWindow::ListSetExtendedStyle(int id, ListExStyle style)
{
    Need(id).extendedStyle = style;
}

int ModelWindow::ListInsertItem(int id, int position, std::string_view text)
{
    ControlState& c = Need(id);
    const int at = std::clamp(position, 0, static_cast<int>(c.items.size()));
    c.items.insert(c.items.begin() + at, std::string(text));
    c.subItems.insert(c.subItems.begin() + at, std::vector<std::string>());
    c.wideItems.insert(c.wideItems.begin() + at, std::vector<std::u16string>());
    // Items after the new one move down, and so do their marks.
    std::set<int> moved;
    for (int s : c.selected)
        moved.insert(s >= at ? s + 1 : s);
    c.selected = moved;
    if (c.selectionMark >= at)
        ++c.selectionMark;
    return at;
}

void ModelWindow::ListSetItemText(int id, int item, int column, std::string_view text)
{
    ControlState& c = Need(id);
    if (item < 0 || item >= static_cast<int>(c.items.size()) || column < 0)
        return;
    if (column == 0) {
        c.items[item] = std::string(text);
        return;
    }
    if (column >= static_cast<int>(c.columns.size()))
        return;
    std::vector<std::string>& texts = c.subItems[item];
    if (static_cast<int>(texts.size()) < column)
        texts.resize(column);
    texts[column - 1] = std::string(text);
}

void ModelWindow::ListSetItemWideText(int id, int item, int column, std::u16string_view text)
{
    ListSetItemText(id, item, column, platform::FromUtf16(text).text);
    ControlState& c = Need(id);
    if (item < 0 || item >= static_cast<int>(c.items.size()) || column < 0 ||
        (column > 0 && column >= static_cast<int>(c.columns.size())))
        return;
    std::vector<std::u16string>& texts = c.wideItems[item];
    if (static_cast<int>(texts.size()) <= column)
        texts.resize(column + 1);
    texts[column] = std::u16string(text);
}

// A text set narrow since replaces the wide one.
std::u16string ModelWindow::ListItemWideText(int id, int item, int column) const
{
    const std::string shown = ListItemText(id, item, column);
    const ControlState& c = Need(id);
    if (item >= 0 && item < static_cast<int>(c.wideItems.size()) && column >= 0 &&
        column < static_cast<int>(c.wideItems[item].size()) && platform::FromUtf16(c.wideItems[item][column]).text == shown)
        return c.wideItems[item][column];
    return platform::ToUtf16(shown);
}

int ModelWindow::ListItemCount(int id) const
{
    return static_cast<int>(Need(id).items.size());
}

std::string ModelWindow::ListItemText(int id, int item, int column) const
{
    const ControlState& c = Need(id);
    if (item < 0 || item >= static_cast<int>(c.items.size()) || column < 0)
        return {};
    if (column == 0)
        return c.items[item];
    const std::vector<std::string>& texts = c.subItems[item];
    return column <= static_cast<int>(texts.size()) ? texts[column - 1] : std::string();
}

int ModelWindow::ListGetSelectionMark(int id) const
{
    return Need(id).selectionMark;
}

void ModelWindow::ListSetSelectionMark(int id, int item)
{
    Need(id).selectionMark = item;
}

void ModelWindow::ComboResetContent(int id)
{
    ControlState& c = Need(id);
    c.entries.clear();
    c.curSel = -1;
    c.text.clear();
}

int ModelWindow::ComboAddString(int id, std::string_view text)
{
    ControlState& c = Need(id);
    // After the entries that sort before it or equal it, as a sorted combo
    // box places it: found by halving, so entries added in order cost no
    // more than their sort.
    std::size_t at = c.entries.size();
    if (c.sorted)
        at = static_cast<std::size_t>(
            std::upper_bound(c.entries.begin(), c.entries.end(), text,
                             [](std::string_view a, const std::string& b) { return platform::LessNoCase(a, b); })
            - c.entries.begin());
    c.entries.insert(c.entries.begin() + static_cast<long>(at), std::string(text));
    if (c.curSel >= static_cast<int>(at))
        ++c.curSel;
    return static_cast<int>(at);
}

int ModelWindow::ComboCount(int id) const
{
    return static_cast<int>(Need(id).entries.size());
}

std::string ModelWindow::ComboItemText(int id, int index) const
{
    const ControlState& c = Need(id);
    if (index < 0 || index >= static_cast<int>(c.entries.size()))
        return {};
    return c.entries[index];
}

int ModelWindow::ComboGetCurSel(int id) const
{
    return Need(id).curSel;
}

void ModelWindow::ComboSetCurSel(int id, int index)
{
    ControlState& c = Need(id);
    c.curSel = index >= 0 && index < static_cast<int>(c.entries.size()) ? index : -1;
    if (!c.dropList)
        c.text = c.curSel >= 0 ? c.entries[c.curSel] : std::string();
}

int ModelWindow::ComboSelectString(int id, std::string_view prefix)
{
    ControlState& c = Need(id);
    for (int i = 0; i < static_cast<int>(c.entries.size()); ++i)
        if (platform::StartsWithNoCase(c.entries[i], prefix)) {
            ComboSetCurSel(id, i);
            return i;
        }
    return -1;
}

MenuItemState* ModelWindow::MenuItem(int top, int item)
{
    if (top < 0 || top >= static_cast<int>(menu_.size()))
        return nullptr;
    MenuItemState& t = menu_[top];
    if (item < 0)
        return &t;
    if (item >= static_cast<int>(t.items.size()))
        return nullptr;
    return &t.items[item];
}

void ModelWindow::MenuSetItemText(int top, int item, std::string_view text)
{
    if (MenuItemState* m = MenuItem(top, item)) {
        m->text = std::string(text);
        m->separator = false;
    }
}

void ModelWindow::MenuSetItemBitmap(int top, int item, int bitmapId)
{
    if (MenuItemState* m = MenuItem(top, item))
        m->bitmapId = bitmapId;
}

void ModelWindow::DrawMenuBar()
{
    ++menuRedraws_;
}

bool ModelWindow::HasSystemMenu() const
{
    return tmpl_.styles.count("WS_SYSMENU") != 0;
}

void ModelWindow::SystemMenuAppendSeparator()
{
    MenuItemState s;
    s.separator = true;
    systemMenu_.push_back(s);
}

void ModelWindow::SystemMenuAppend(int commandId, std::string_view text)
{
    MenuItemState s;
    s.id = commandId;
    s.text = std::string(text);
    systemMenu_.push_back(s);
}

void ModelWindow::SetIcon(int iconId, bool)
{
    icon_ = iconId;
}

void ModelWindow::SetTimer(int timerId, int milliseconds)
{
    timers_[timerId] = milliseconds;
}

// The last result given counts, as on Windows.
void ModelWindow::EndDialog(Answer result)
{
    endResult_ = result;
}

std::optional<Answer> ModelWindow::EndResult() const
{
    return endResult_;
}

Answer ModelWindow::ShowMessageBox(std::string_view text, std::string_view caption, BoxStyle style)
{
    return host_.ShowMessageBox(text, caption, style);
}

std::optional<std::string> ModelWindow::FileOpenDialog(const FileDialogRequest& request)
{
    return host_.ShowFileDialog(request);
}

std::optional<std::string> ModelWindow::BrowseForFolder(std::string_view title, std::string_view initialFolder)
{
    return host_.ShowFolderDialog(title, initialFolder);
}

} // namespace toolkit
