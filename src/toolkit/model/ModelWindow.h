#pragma once
// A dialog whose controls live in memory, built from its template. The
// headless backend drives it from a script; the terminal backend draws it and
// feeds it keys. Its modal boxes are shown by a host: the backend, or a test.
#include "toolkit/DialogWindow.h"
#include "toolkit/Resources.h"

#include <map>
#include <set>
#include <vector>

namespace toolkit {

struct ListColumn {
    std::string title;
    int widthPixels = 0;
};

struct ControlState {
    const ControlTemplate* tmpl = nullptr;
    int id = -1;
    ControlKind kind = ControlKind::StaticText;
    std::string text;
    // The characters beyond the code page of a text set wide, while `text`
    // is still that text in the code page.
    std::u32string foreign;
    std::string foreignText;
    bool visible = true;
    bool checked = false;

    // List view: each item's own text, and its texts in the columns after
    // the first (fewer where they were never set).
    std::vector<std::string> items;
    std::vector<std::vector<std::string>> subItems;
    // Each item's texts set wide, by column, the item's own first (fewer
    // where none was set); one counts while its column still shows it.
    std::vector<std::vector<std::u16string>> wideItems;
    std::set<int> selected;
    int selectionMark = -1;
    std::vector<ListColumn> columns;
    ListExStyle extendedStyle = ListExStyle::None;

    // Combo box.
    std::vector<std::string> entries;
    int curSel = -1;
    bool dropList = false; // no edit field: the text is the selected entry
    bool sorted = false;
};

// Who shows the modal boxes of a window kept in memory.
class ModalHost {
public:
    virtual ~ModalHost() = default;
    virtual Answer ShowMessageBox(std::string_view text, std::string_view caption, BoxStyle style) = 0;
    virtual std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> ShowFolderDialog(std::string_view title, std::string_view initialFolder) = 0;
};

struct MenuItemState {
    std::string text;
    int id = 0;
    bool separator = false;
    bool popup = false;
    int bitmapId = 0;
    std::vector<MenuItemState> items;
};

class ModelWindow : public IDialogWindow {
public:
    ModelWindow(const DialogTemplate& tmpl, ModalHost& host);

    const DialogTemplate& Template() const { return tmpl_; }
    std::vector<ControlState>& Controls() { return controls_; }
    const std::vector<ControlState>& Controls() const { return controls_; }
    ControlState* Find(int id);
    const ControlState* Find(int id) const;
    std::vector<MenuItemState>& Menu() { return menu_; }
    const std::vector<MenuItemState>& Menu() const { return menu_; }
    const std::vector<MenuItemState>& SystemMenuExtra() const { return systemMenu_; }
    const std::map<int, int>& Timers() const { return timers_; }
    int FocusId() const { return focus_; }
    int MenuBarRedraws() const { return menuRedraws_; }
    int IconId() const { return icon_; }

    // What a user's click does to a radio button: check it and clear the other
    // buttons of its group.
    void ClickRadio(int id);
    // What a user's click on a list item does: it becomes the selection mark and
    // the only selected item.
    void ClickListItem(int id, int item);

    std::string GetItemText(int id) const override;
    void SetItemText(int id, std::string_view text) override;
    void ShowItem(int id, bool show) override;
    bool IsItemVisible(int id) const override;
    void SetCheck(int id, bool checked) override;
    bool GetCheck(int id) const override;
    void SetFocus(int id) override;
    void SetItemWideText(int id, std::u16string_view text) override;
    std::u32string ItemForeignCharacters(int id) const override;

    void ListDeleteAllItems(int id) override;
    void ListDeleteColumn(int id, int column) override;
    void ListInsertColumn(int id, int column, std::string_view title, int widthPixels) override;
    void ListSetExtendedStyle(int id, ListExStyle style) override;
    int ListInsertItem(int id, int position, std::string_view text) override;
    void ListSetItemText(int id, int item, int column, std::string_view text) override;
    void ListSetItemWideText(int id, int item, int column, std::u16string_view text) override;
    // The text as it was set wide, or the code page's text as UTF-16.
    std::u16string ListItemWideText(int id, int item, int column) const;
    int ListItemCount(int id) const override;
    std::string ListItemText(int id, int item, int column) const override;
    int ListGetSelectionMark(int id) const override;
    void ListSetSelectionMark(int id, int item) override;
    void ListSelectItem(int id, int item) override { ClickListItem(id, item); }

    void ComboResetContent(int id) override;
    int ComboAddString(int id, std::string_view text) override;
    int ComboCount(int id) const override;
    std::string ComboItemText(int id, int index) const override;
    int ComboGetCurSel(int id) const override;
    void ComboSetCurSel(int id, int index) override;
    int ComboSelectString(int id, std::string_view prefix) override;

    void MenuSetItemText(int top, int item, std::string_view text) override;
    void MenuSetItemBitmap(int top, int item, int bitmapId) override;
    void DrawMenuBar() override;
    bool HasSystemMenu() const override;
    void SystemMenuAppendSeparator() override;
    void SystemMenuAppend(int commandId, std::string_view text) override;

    void SetCaption(std::string_view text) override { caption_ = std::string(text); }
    std::string Caption() const override { return caption_; }
    void SetIcon(int iconId, bool big) override;
    // A window in memory is never minimised, so it never paints an icon.
    bool IsMinimized() const override { return false; }
    void PaintIconCentred(int) override {}
    void SetTimer(int timerId, int milliseconds) override;
    void EndDialog(Answer result) override;
    std::optional<Answer> EndResult() const override;

    // The modal boxes go to the host.
    Answer ShowMessageBox(std::string_view text, std::string_view caption, BoxStyle style) override;
    std::optional<std::string> FileOpenDialog(const FileDialogRequest& request) override;
    std::optional<std::string> BrowseForFolder(std::string_view title, std::string_view initialFolder) override;

private:
    ControlState& Need(int id);
    const ControlState& Need(int id) const;
    MenuItemState* MenuItem(int top, int item);

    const DialogTemplate& tmpl_;
    ModalHost& host_;
    std::string caption_;
    std::vector<ControlState> controls_;
    std::vector<MenuItemState> menu_;
    std::vector<MenuItemState> systemMenu_;
    std::map<int, int> timers_;
    std::optional<Answer> endResult_;
    int focus_ = 0;
    int menuRedraws_ = 0;
    int icon_ = 0;
};

} // namespace toolkit
