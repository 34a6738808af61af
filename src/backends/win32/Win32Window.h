#pragma once
// One open dialog as the toolkit sees it: every call goes to the real window
// and its controls. The bitmaps given to its menu items belong to it and are
// released when it goes, after the window and its menu.
#include "backends/win32/Dpi.h"
#include "toolkit/DialogWindow.h"
#include "toolkit/Resources.h"
#include "platform/win32/Win32.h"

#include <map>
#include <utility>
#include <vector>

namespace backends::win32 {

class Win32Backend;

class Win32Window final : public toolkit::IDialogWindow {
public:
    Win32Window(HWND window, int templateId, Win32Backend& backend);
    // The template's pictures at the size the dialog has at the screen's DPI.
    void FitPictures(const toolkit::DialogTemplate& tmpl);
    // The window on a monitor of `dpi`: at the place the system suggests,
    // with its font, controls, pictures, menu pictures and list columns as
    // the window would have them had it opened there.
    void ChangeDpi(int dpi, const RECT& suggested, const toolkit::DialogTemplate& tmpl);

    HWND Handle() const { return window_; }
    // Whether the handler of the paint request now running painted the icon.
    void StartPaintRequest() { painted_ = false; }
    bool Painted() const { return painted_; }

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
    void ListSetExtendedStyle(int id, toolkit::ListExStyle style) override;
    int ListInsertItem(int id, int position, std::string_view text) override;
    void ListSetItemText(int id, int item, int column, std::string_view text) override;
    void ListSetItemWideText(int id, int item, int column, std::u16string_view text) override;
    int ListItemCount(int id) const override;
    std::string ListItemText(int id, int item, int column) const override;
    int ListGetSelectionMark(int id) const override;
    void ListSetSelectionMark(int id, int item) override;
    void ListSelectItem(int id, int item) override;

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

    void SetCaption(std::string_view text) override;
    std::string Caption() const override;
    void SetIcon(int iconId, bool big) override;
    bool IsMinimized() const override;
    void PaintIconCentred(int iconId) override;
    void SetTimer(int timerId, int milliseconds) override;
    void EndDialog(toolkit::Answer result) override;
    std::optional<toolkit::Answer> EndResult() const override;

    toolkit::Answer ShowMessageBox(std::string_view text, std::string_view caption, toolkit::BoxStyle style) override;
    std::optional<std::string> FileOpenDialog(const toolkit::FileDialogRequest& request) override;
    std::optional<std::string> BrowseForFolder(std::string_view title, std::string_view initialFolder) override;

private:
    // The control; throws CException naming the dialog and the id.
    HWND Item(int id) const;
    // The control's text as the system holds it, in UTF-16.
    std::u16string WideText(int id) const;
    // A picked path, or nothing, with a box that says why, when the code page
    // cannot hold it.
    std::optional<std::string> TakePath(std::u16string_view path);
    LRESULT Send(int id, UINT message, WPARAM wParam, LPARAM lParam) const;
    // The columns of list `id` at the window's DPI.
    void ScaleColumns(int id);

    HWND window_;
    int templateId_;
    Win32Backend& backend_;
    std::optional<toolkit::Answer> endResult_;
    // The DPI the window is laid out for.
    int dpi_;
    struct MenuPicture {
        int bitmapId = 0;
        platform::win32::UniqueBitmap bitmap;
    };
    std::map<std::pair<int, int>, MenuPicture> menuBitmaps_;
    // The template's pictures drawn at the dialog's size (Dpi.h).
    std::vector<platform::win32::UniqueBitmap> pictures_;
    // The widths at 96 DPI that the columns of each list were given.
    std::map<int, std::vector<int>> columnWidths_;
    // The dialog's font since its DPI changed; until then the dialog
    // manager's.
    UniqueFont font_;
    bool painted_ = false;
};

// The program's icon resource `id`, shared and never destroyed.
HICON ProgramIcon(int id);

// A message box owned by `owner` (null: by no window).
toolkit::Answer ShowBox(HWND owner, std::string_view text, std::string_view caption, toolkit::BoxStyle style);

} // namespace backends::win32
