#pragma once
// Control members of a dialog, bound to their window by DDX_Control.
#include "toolkit/DialogWindow.h"

#include <string>
#include <string_view>

namespace toolkit {

// How a list-view column aligns its texts.
enum class ColumnFormat { Left };

class CWndControl {
public:
    void Attach(IDialogWindow* window, int id) { window_ = window; id_ = id; }
    bool IsAttached() const { return window_ != nullptr; }
    int Id() const { return id_; }

    void ShowWindow(bool show) { Window().ShowItem(id_, show); }
    bool IsWindowVisible() const { return Window().IsItemVisible(id_); }
    void SetText(std::string_view text) { Window().SetItemText(id_, text); }
    std::string GetText() const { return Window().GetItemText(id_); }
    void SetWideText(std::u16string_view text) { Window().SetItemWideText(id_, text); }
    std::u32string ForeignCharacters() const { return Window().ItemForeignCharacters(id_); }
    void SetFocus() { Window().SetFocus(id_); }

protected:
    IDialogWindow& Window() const;

private:
    IDialogWindow* window_ = nullptr;
    int id_ = 0;
};

class CButton : public CWndControl {
public:
    void SetCheck(bool checked) { Window().SetCheck(Id(), checked); }
    bool GetCheck() const { return Window().GetCheck(Id()); }
};

class CEdit : public CWndControl {};
class CStatic : public CWndControl {};

class CListCtrl : public CWndControl {
public:
    void DeleteAllItems() { Window().ListDeleteAllItems(Id()); }
    void DeleteColumn(int column) { Window().ListDeleteColumn(Id(), column); }
    // Every column is left-aligned so far; the format says so at the call.
    void InsertColumn(int column, std::string_view title, ColumnFormat, int widthPixels)
    {
        Window().ListInsertColumn(Id(), column, title, widthPixels);
    }
    void SetExtendedStyle(ListExStyle style) { Window().ListSetExtendedStyle(Id(), style); }
    int InsertItem(int position, std::string_view text) { return Window().ListInsertItem(Id(), position, text); }
    void SetItemText(int item, int subItem, std::string_view text)
    {
        Window().ListSetItemText(Id(), item, subItem, text);
    }
    void SetItemWideText(int item, int subItem, std::u16string_view text)
    {
        Window().ListSetItemWideText(Id(), item, subItem, text);
    }
    int GetItemCount() const { return Window().ListItemCount(Id()); }
    std::string GetItemText(int item, int subItem) const { return Window().ListItemText(Id(), item, subItem); }
    int GetSelectionMark() const { return Window().ListGetSelectionMark(Id()); }
    void SetSelectionMark(int item) { Window().ListSetSelectionMark(Id(), item); }
    void SelectItem(int item) { Window().ListSelectItem(Id(), item); }
};

class CComboBox : public CWndControl {
public:
    void ResetContent() { Window().ComboResetContent(Id()); }
    int AddString(std::string_view text) { return Window().ComboAddString(Id(), text); }
    int GetCount() const { return Window().ComboCount(Id()); }
    std::string GetLBText(int index) const { return Window().ComboItemText(Id(), index); }
    int GetCurSel() const { return Window().ComboGetCurSel(Id()); }
    void SetCurSel(int index) { Window().ComboSetCurSel(Id(), index); }
};

} // namespace toolkit
