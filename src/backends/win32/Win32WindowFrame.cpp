// The window itself: its menu bar and system menu, its icon, its timer and
// its end.
#include "backends/win32/Win32Window.h"

#include "backends/win32/Dpi.h"

#include <string>

namespace backends::win32 {

namespace {

// The menu that holds the item at (top, item) and the item's position in
// it; item -1 is the drop-down caption in the menu bar.
struct MenuPlace {
    HMENU menu = nullptr;
    int position = 0;
};

MenuPlace PlaceOf(HWND window, int top, int item)
{
    const HMENU bar = ::GetMenu(window);
    if (bar == nullptr || top < 0 || top >= ::GetMenuItemCount(bar))
        return {};
    if (item < 0)
        return {bar, top};
    const HMENU popup = ::GetSubMenu(bar, top);
    if (popup == nullptr || item >= ::GetMenuItemCount(popup))
        return {};
    return {popup, item};
}

} // namespace

HICON ProgramIcon(int id)
{
    return ::LoadIconA(platform::win32::ProgramInstance(), MAKEINTRESOURCEA(id));
}

// A drop-down keeps its menu and an item its command id; a separator
// becomes an item with the text.
void Win32Window::MenuSetItemText(int top, int item, std::string_view text)
{
    const MenuPlace place = PlaceOf(window_, top, item);
    if (place.menu == nullptr)
        return;
    UINT flags = MF_BYPOSITION | MF_STRING;
    UINT_PTR idOrMenu = ::GetMenuItemID(place.menu, place.position);
    if (const HMENU popup = ::GetSubMenu(place.menu, place.position)) {
        flags |= MF_POPUP;
        idOrMenu = reinterpret_cast<UINT_PTR>(popup);
    }
    ::ModifyMenuA(place.menu, static_cast<UINT>(place.position), flags, idOrMenu, std::string(text).c_str());
}

// The same bitmap stands for the checked and the unchecked item; the one it
// replaces is released once the menu no longer shows it.
void Win32Window::MenuSetItemBitmap(int top, int item, int bitmapId)
{
    const MenuPlace place = PlaceOf(window_, top, item);
    if (place.menu == nullptr)
        return;
    platform::win32::UniqueBitmap bitmap(static_cast<HBITMAP>(
        ::LoadImageA(platform::win32::ProgramInstance(), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    if (!bitmap)
        return;
    // The resource's picture is drawn for 96 DPI; the menu's text and its
    // room for a picture grow with the DPI.
    BITMAP size{};
    if (dpi_ != 96 && ::GetObjectA(bitmap.get(), sizeof size, &size))
        if (platform::win32::UniqueBitmap fitted = backends::win32::ScaledBitmap(bitmap.get(), backends::win32::Scaled(size.bmWidth, dpi_),
                                                                                 backends::win32::Scaled(size.bmHeight, dpi_)))
            bitmap = std::move(fitted);
    ::SetMenuItemBitmaps(place.menu, static_cast<UINT>(place.position), MF_BYPOSITION, bitmap.get(), bitmap.get());
    menuBitmaps_[{top, item}] = {bitmapId, std::move(bitmap)};
}

void Win32Window::DrawMenuBar()
{
    ::DrawMenuBar(window_);
}

bool Win32Window::HasSystemMenu() const
{
    return ::GetSystemMenu(window_, FALSE) != nullptr;
}

void Win32Window::SystemMenuAppendSeparator()
{
    if (const HMENU menu = ::GetSystemMenu(window_, FALSE))
        ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
}

void Win32Window::SystemMenuAppend(int commandId, std::string_view text)
{
    if (const HMENU menu = ::GetSystemMenu(window_, FALSE))
        ::AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(commandId), std::string(text).c_str());
}

void Win32Window::SetCaption(std::string_view text)
{
    ::SetWindowTextA(window_, std::string(text).c_str());
}

std::string Win32Window::Caption() const
{
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(window_)) + 1, '\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextA(window_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Win32Window::SetIcon(int iconId, bool big)
{
    ::SendMessageA(window_, WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(ProgramIcon(iconId)));
}

bool Win32Window::IsMinimized() const
{
    return ::IsIconic(window_) != 0;
}

void Win32Window::PaintIconCentred(int iconId)
{
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(window_, &paint);
    ::SendMessageA(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    ::GetClientRect(window_, &client);
    const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, ProgramIcon(iconId));
    ::EndPaint(window_, &paint);
    painted_ = true;
}

void Win32Window::SetTimer(int timerId, int milliseconds)
{
    ::SetTimer(window_, static_cast<UINT_PTR>(timerId), static_cast<UINT>(milliseconds), nullptr);
}

// The last result given counts, as with the system's own EndDialog.
void Win32Window::EndDialog(toolkit::Answer result)
{
    endResult_ = result;
    ::EndDialog(window_, static_cast<INT_PTR>(result));
}

std::optional<toolkit::Answer> Win32Window::EndResult() const
{
    return endResult_;
}

} // namespace backends::win32
