#include "backends/win32/Win32Window.h"

#include "backends/win32/Dpi.h"

#include "platform/Exceptions.h"
#include "platform/SystemText.h"

#include <commctrl.h>

#include <algorithm>

namespace backends::win32 {

namespace {

// A list of one column without a header (the function list) has it fill
// the list at any DPI, beside the scroll bar that its items will bring; the
// columns of lists with a header keep their widths, which grow with the DPI.
void FillWithOnlyColumn(HWND list)
{
    const auto style = ::GetWindowLongPtrA(list, GWL_STYLE);
    const auto header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
    RECT room{};
    if ((style & LVS_NOCOLUMNHEADER) == 0 || !header || ::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) != 1 ||
        !::GetClientRect(list, &room))
        return;
    const bool scrolls = (style & WS_VSCROLL) != 0;
    const LONG bar = scrolls ? 0 : ::GetSystemMetrics(SM_CXVSCROLL);
    ::SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, std::max<LONG>(1, room.right - bar));
}

LPARAM Text(const std::string& text)
{
    return reinterpret_cast<LPARAM>(text.c_str());
}

} // namespace

Win32Window::Win32Window(HWND window, int templateId, Win32Backend& backend)
    : window_(window), templateId_(templateId), backend_(backend), dpi_(backends::win32::DpiOf(window))
{
    backends::win32::TakeOverDpiChanges(window_);
}

void Win32Window::FitPictures(const toolkit::DialogTemplate& tmpl)
{
    backends::win32::FitPictures(window_, tmpl, backends::win32::UnitsOf(window_), pictures_);
}

// Wine keeps every window at the DPI the program started with, so the DPI
// is the one the message gave, not the one the system would tell.
void Win32Window::ChangeDpi(int dpi, const RECT& suggested, const toolkit::DialogTemplate& tmpl)
{
    backends::win32::UniqueFont font = backends::win32::FontAt(window_, tmpl, dpi);
    if (!font)
        return;
    dpi_ = dpi;
    const DialogUnits units = UnitsOf(font.get());
    ::SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    backends::win32::LayOut(window_, tmpl, units, font.get());
    font_ = std::move(font); // the controls have let go of the one before
    std::vector<platform::win32::UniqueBitmap> pictures;
    backends::win32::FitPictures(window_, tmpl, units, pictures);
    pictures_.swap(pictures);
    for (const auto& [place, picture] : menuBitmaps_)
        MenuSetItemBitmap(place.first, place.second, picture.bitmapId);
    DrawMenuBar();
    for (const auto& list : columnWidths_)
        ScaleColumns(list.first);
    ::RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

HWND Win32Window::Item(int id) const
{
    if (HWND item = ::GetDlgItem(window_, id))
        return item;
    throw platform::CException("dialog " + std::to_string(templateId_) + " has no control " + std::to_string(id));
}

LRESULT Win32Window::Send(int id, UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(Item(id), message, wParam, lParam);
}

std::u16string Win32Window::WideText(int id) const
{
    const HWND item = Item(id);
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(item)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
    return std::u16string(text.begin(), text.end());
}

// Read wide: the narrow function would give a look-alike for a character
// that the code page lacks.
std::string Win32Window::GetItemText(int id) const
{
    return platform::FromUtf16(WideText(id)).text;
}

void Win32Window::SetItemText(int id, std::string_view text)
{
    const platform::CodePageText shown = platform::FromUtf16(WideText(id));
    if (!shown.foreign.empty() && shown.text == text)
        return;
    ::SetWindowTextA(Item(id), std::string(text).c_str());
}

void Win32Window::SetItemWideText(int id, std::u16string_view text)
{
    const std::wstring wide(text.begin(), text.end());
    ::SetWindowTextW(Item(id), wide.c_str());
}

std::u32string Win32Window::ItemForeignCharacters(int id) const
{
    return platform::FromUtf16(WideText(id)).foreign;
}

void Win32Window::ShowItem(int id, bool show)
{
    ::ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE);
}

// The control's own flag: while the dialog itself is still hidden (during
// its initialisation) IsWindowVisible would say no for every control.
bool Win32Window::IsItemVisible(int id) const
{
    return (::GetWindowLongA(Item(id), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32Window::SetCheck(int id, bool checked)
{
    Send(id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32Window::GetCheck(int id) const
{
    return Send(id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Window::SetFocus(int id)
{
    ::SetFocus(Item(id));
}

void Win32Window::ListDeleteAllItems(int id)
{
    Send(id, LVM_DELETEALLITEMS, 0, 0);
}

void Win32Window::ListDeleteColumn(int id, int column)
{
    if (Send(id, LVM_DELETECOLUMN, static_cast<WPARAM>(column), 0) == FALSE)
        return;
    auto& widths = columnWidths_[id];
    if (column >= 0 && static_cast<std::size_t>(column) < widths.size())
        widths.erase(widths.begin() + column);
}

void Win32Window::ListInsertColumn(int id, int column, std::string_view title, int widthPixels)
{
    std::string text(title);
    LVCOLUMNA format{};
    format.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    format.fmt = LVCFMT_LEFT;
    format.cx = backends::win32::Scaled(widthPixels, dpi_);
    format.pszText = text.data();
    format.iSubItem = column;
    const auto at = Send(id, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&format));
    auto& widths = columnWidths_[id];
    if (at >= 0 && static_cast<std::size_t>(at) <= widths.size())
        widths.insert(widths.begin() + at, widthPixels);
    FillWithOnlyColumn(Item(id));
}

void Win32Window::ScaleColumns(int id)
{
    const auto& widths = columnWidths_[id];
    for (std::size_t column = 0; column < widths.size(); ++column)
        Send(id, LVM_SETCOLUMNWIDTH, column, backends::win32::Scaled(widths[column], dpi_));
    FillWithOnlyColumn(Item(id));
}

// Every extended style the call does not name is switched off.
void Win32Window::ListSetExtendedStyle(int id, toolkit::ListExStyle style)
{
    Send(id, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style));
}

int Win32Window::ListInsertItem(int id, int position, std::string_view text)
{
    std::string copy(text);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = position;
    item.pszText = copy.data();
    return static_cast<int>(Send(id, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void Win32Window::ListSetItemText(int id, int item, int column, std::string_view text)
{
    std::string copy(text);
    LVITEMA change{};
    change.iSubItem = column;
    change.pszText = copy.data();
    Send(id, LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&change));
}

void Win32Window::ListSetItemWideText(int id, int item, int column, std::u16string_view text)
{
    std::wstring copy(text.begin(), text.end());
    LVITEMW change{};
    change.iSubItem = column;
    change.pszText = copy.data();
    Send(id, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&change));
}

int Win32Window::ListItemCount(int id) const
{
    return static_cast<int>(Send(id, LVM_GETITEMCOUNT, 0, 0));
}

std::string Win32Window::ListItemText(int id, int item, int column) const
{
    if (item < 0 || item >= ListItemCount(id))
        return {};
    // Read wide, as GetItemText is: the narrow message would give a
    // look-alike for a character beyond the code page. The list answers how
    // much it copied; a text that filled the buffer may go on, so it is
    // asked again with more room.
    std::wstring text(256, L'\0');
    for (;;) {
        LVITEMW request{};
        request.iSubItem = column;
        request.pszText = text.data();
        request.cchTextMax = static_cast<int>(text.size());
        const auto copied = static_cast<std::size_t>(
            Send(id, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&request)));
        if (copied + 1 < text.size()) {
            text.resize(copied);
            return platform::FromUtf16(std::u16string(text.begin(), text.end())).text;
        }
        text.resize(text.size() * 2);
    }
}

int Win32Window::ListGetSelectionMark(int id) const
{
    return static_cast<int>(Send(id, LVM_GETSELECTIONMARK, 0, 0));
}

void Win32Window::ListSetSelectionMark(int id, int item)
{
    Send(id, LVM_SETSELECTIONMARK, 0, item);
}

void Win32Window::ListSelectItem(int id, int item)
{
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    Send(id, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    LVITEMA chosen{};
    chosen.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    chosen.state = LVIS_SELECTED | LVIS_FOCUSED;
    Send(id, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&chosen));
    Send(id, LVM_SETSELECTIONMARK, 0, item);
    Send(id, LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE);
}

void Win32Window::ComboResetContent(int id)
{
    Send(id, CB_RESETCONTENT, 0, 0);
}

int Win32Window::ComboAddString(int id, std::string_view text)
{
    return static_cast<int>(Send(id, CB_ADDSTRING, 0, Text(std::string(text))));
}

int Win32Window::ComboCount(int id) const
{
    return static_cast<int>(Send(id, CB_GETCOUNT, 0, 0));
}

std::string Win32Window::ComboItemText(int id, int index) const
{
    const LRESULT length = Send(id, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR)
        return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied = Send(id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

int Win32Window::ComboGetCurSel(int id) const
{
    return static_cast<int>(Send(id, CB_GETCURSEL, 0, 0));
}

void Win32Window::ComboSetCurSel(int id, int index)
{
    Send(id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// From the first entry on; an unsuccessful search leaves the selection.
int Win32Window::ComboSelectString(int id, std::string_view prefix)
{
    const LRESULT found = Send(id, CB_SELECTSTRING, static_cast<WPARAM>(-1), Text(std::string(prefix)));
    return found == CB_ERR ? -1 : static_cast<int>(found);
}

} // namespace backends::win32
