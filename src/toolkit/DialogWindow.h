#pragma once
// What a backend offers for one open dialog: its controls, its menu, its timer
// and the modal boxes it owns. The headless and terminal backends keep the
// controls in memory (model/ModelWindow); the win32 backend maps every call to
// a real window.
#include <optional>
#include <string>
#include <string_view>

namespace toolkit {

// How a dialog or a message box was ended. The values are the command ids of
// the buttons that give each answer, as on Windows.
enum class Answer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// The commands of a dialog's OK and Cancel buttons; Enter and Escape send
// them too, also when the buttons are hidden.
constexpr int OkCommand = static_cast<int>(Answer::Ok);
constexpr int CancelCommand = static_cast<int>(Answer::Cancel);

// The system menu's Close entry.
constexpr int SystemCloseCommand = 0xF060;

// What a message box offers: its buttons and its icon.
enum class BoxButtons { Ok, YesNo };
enum class BoxIcon { None, Question, Error };
struct BoxStyle {
    BoxButtons buttons = BoxButtons::Ok;
    BoxIcon icon = BoxIcon::None;
    // A question whose Yes loses something: No is the default button and
    // Escape answers No.
    bool safeNo = false;
};

// Extended list-view styles, with the Windows values.
enum class ListExStyle : unsigned { None = 0, FullRowSelect = 0x20 };

struct FileDialogRequest {
    std::string filter;        // "Text (*.x)|*.x" entries, as the toolkit writes them
    std::string initialFolder; // may be empty or name a file; the platform decides then
};

class IDialogWindow {
public:
    virtual ~IDialogWindow() = default;

    // Any control.
    virtual std::string GetItemText(int id) const = 0;
    virtual void SetItemText(int id, std::string_view text) = 0;
    virtual void ShowItem(int id, bool show) = 0;
    virtual bool IsItemVisible(int id) const = 0;
    virtual void SetCheck(int id, bool checked) = 0;
    virtual bool GetCheck(int id) const = 0;
    virtual void SetFocus(int id) = 0;

    // Texts beyond the program's code page (platform/SystemText.h). A control
    // can hold more than the program's texts: what the user typed or pasted,
    // or a registry value shown as the registry holds it. GetItemText gives
    // such a text with '?' for each character the code page lacks, and
    // SetItemText of that same text leaves the control as it is, so that an
    // exchange back and forth keeps what it shows.
    virtual void SetItemWideText(int id, std::u16string_view text) = 0;
    // The characters of the control's text that the code page lacks, each
    // once, in the order they come; empty when the text converts exactly.
    virtual std::u32string ItemForeignCharacters(int id) const = 0;

    // List view (report view): its columns, its items and their texts in
    // each column, column 0 being the item's own.
    virtual void ListDeleteAllItems(int id) = 0;
    virtual void ListDeleteColumn(int id, int column) = 0;
    virtual void ListInsertColumn(int id, int column, std::string_view title, int widthPixels) = 0;
    virtual void ListSetExtendedStyle(int id, ListExStyle style) = 0;
    virtual int ListInsertItem(int id, int position, std::string_view text) = 0;
    // Nothing changes for no such item or column.
    virtual void ListSetItemText(int id, int item, int column, std::string_view text) = 0;
    // The same beyond the code page, as SetItemWideText: ListItemText gives
    // the text with '?' for each character the code page lacks.
    virtual void ListSetItemWideText(int id, int item, int column, std::u16string_view text) = 0;
    virtual int ListItemCount(int id) const = 0;
    virtual std::string ListItemText(int id, int item, int column) const = 0; // empty for no such item or column
    virtual int ListGetSelectionMark(int id) const = 0;
    virtual void ListSetSelectionMark(int id, int item) = 0;
    // The item becomes the one selected item and the selection mark, and the
    // list scrolls it into view.
    virtual void ListSelectItem(int id, int item) = 0;

    // Combo box. The window text of a drop-down list is its selected entry.
    virtual void ComboResetContent(int id) = 0;
    virtual int ComboAddString(int id, std::string_view text) = 0; // index it landed at
    virtual int ComboCount(int id) const = 0;
    virtual std::string ComboItemText(int id, int index) const = 0;
    virtual int ComboGetCurSel(int id) const = 0;
    virtual void ComboSetCurSel(int id, int index) = 0;
    // Selects the first entry that begins with `prefix`, letter case ignored;
    // -1 and no change when none does.
    virtual int ComboSelectString(int id, std::string_view prefix) = 0;

    // The window's menu bar, by position; `item` -1 addresses the drop-down
    // caption itself. Command ids stay as they are.
    virtual void MenuSetItemText(int top, int item, std::string_view text) = 0;
    virtual void MenuSetItemBitmap(int top, int item, int bitmapId) = 0;
    virtual void DrawMenuBar() = 0;
    virtual bool HasSystemMenu() const = 0;
    virtual void SystemMenuAppendSeparator() = 0;
    virtual void SystemMenuAppend(int commandId, std::string_view text) = 0;

    // The window itself.
    virtual void SetCaption(std::string_view text) = 0;
    virtual std::string Caption() const = 0;
    virtual void SetIcon(int iconId, bool big) = 0;
    virtual bool IsMinimized() const = 0;
    // Paints the minimised window: its icon background, then the icon centred
    // in the client area. For a paint request only.
    virtual void PaintIconCentred(int iconId) = 0;
    virtual void SetTimer(int timerId, int milliseconds) = 0;
    virtual void EndDialog(Answer result) = 0;
    virtual std::optional<Answer> EndResult() const = 0;

    // Modal boxes owned by this window. Timer messages go on while they wait.
    virtual Answer ShowMessageBox(std::string_view text, std::string_view caption, BoxStyle style) = 0;
    virtual std::optional<std::string> FileOpenDialog(const FileDialogRequest& request) = 0;
    // `initialFolder`: where the browser starts when that folder exists.
    virtual std::optional<std::string> BrowseForFolder(std::string_view title, std::string_view initialFolder) = 0;
};

} // namespace toolkit
