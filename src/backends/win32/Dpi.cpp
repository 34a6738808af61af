#include "backends/win32/Dpi.h"

#include <utility>

namespace backends::win32 {

namespace {

struct WindowDc {
    explicit WindowDc(HWND window) : window(window), dc(::GetDC(window)) {}
    ~WindowDc() { ::ReleaseDC(window, dc); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HWND window;
    HDC dc;
};

struct MemoryDc {
    explicit MemoryDc(HDC like) : dc(::CreateCompatibleDC(like)) {}
    ~MemoryDc() { ::DeleteDC(dc); }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC dc;
};

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    if (!::GetObjectA(bitmap, sizeof info, &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

// The controls of `dialog` beside their templates: the dialog manager makes
// them in the template's order, each after the one before. Empty when the
// dialog's controls are not the template's.
std::vector<std::pair<const toolkit::ControlTemplate*, HWND>> ControlsOf(HWND dialog, const toolkit::DialogTemplate& tmpl)
{
    std::vector<std::pair<const toolkit::ControlTemplate*, HWND>> matched;
    HWND control = ::GetWindow(dialog, GW_CHILD);
    for (const toolkit::ControlTemplate& c : tmpl.controls) {
        // An id of a 16-bit template comes back as its low word.
        if (!control || (::GetDlgCtrlID(control) & 0xFFFF) != (c.id & 0xFFFF))
            return {};
        matched.emplace_back(&c, control);
        control = ::GetWindow(control, GW_HWNDNEXT);
    }
    if (control)
        return {};
    return matched;
}

// A user32 function of Windows 10 that older systems and Wine may lack.
template <class Function>
Function User32(const char* name)
{
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name)));
}

bool Near(LONG a, LONG b)
{
    return a - b <= 2 && b - a <= 2;
}

} // namespace

int DpiOf(HWND window)
{
    // Windows 10 1607 on; earlier systems, and Wine's, have one DPI for
    // every monitor.
    static const auto call = User32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (call && window)
        if (const UINT dpi = call(window); dpi > 0)
            return static_cast<int>(dpi);
    const WindowDc screen(nullptr);
    const int dpi = ::GetDeviceCaps(screen.dc, LOGPIXELSX);
    return dpi > 0 ? dpi : 96;
}

int Scaled(int pixels, int dpi)
{
    return ::MulDiv(pixels, dpi, 96);
}

platform::win32::UniqueBitmap ScaledBitmap(HBITMAP source, int width, int height)
{
    const SIZE size = BitmapSize(source);
    if (size.cx <= 0 || size.cy <= 0 || width <= 0 || height <= 0)
        return nullptr;
    const WindowDc screen(nullptr);
    platform::win32::UniqueBitmap result(::CreateCompatibleBitmap(screen.dc, width, height));
    if (!result)
        return nullptr;
    const MemoryDc from(screen.dc);
    const MemoryDc to(screen.dc);
    const HGDIOBJ oldFrom = ::SelectObject(from.dc, source);
    const HGDIOBJ oldTo = ::SelectObject(to.dc, result.get());
    ::SetStretchBltMode(to.dc, HALFTONE);
    ::SetBrushOrgEx(to.dc, 0, 0, nullptr);
    ::StretchBlt(to.dc, 0, 0, width, height, from.dc, 0, 0, size.cx, size.cy, SRCCOPY);
    ::SelectObject(from.dc, oldFrom);
    ::SelectObject(to.dc, oldTo);
    return result;
}

RECT DialogUnits::Map(int x, int y, int cx, int cy) const
{
    const int left = ::MulDiv(x, across, 4);
    const int top = ::MulDiv(y, down, 8);
    return {left, top, left + ::MulDiv(cx, across, 4), top + ::MulDiv(cy, down, 8)};
}

DialogUnits UnitsOf(HWND dialog)
{
    RECT unit{0, 0, 4, 8};
    ::MapDialogRect(dialog, &unit);
    return {unit.right, unit.bottom};
}

DialogUnits UnitsOf(HFONT font)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const WindowDc screen(nullptr);
    const HGDIOBJ old = ::SelectObject(screen.dc, font);
    TEXTMETRICA metrics{};
    SIZE extent{};
    const bool measured = ::GetTextMetricsA(screen.dc, &metrics) &&
                          ::GetTextExtentPoint32A(screen.dc, letters, sizeof letters - 1, &extent);
    ::SelectObject(screen.dc, old);
    if (!measured)
        return {};
    return {(extent.cx / 26 + 1) / 2, metrics.tmHeight};
}

void TakeOverDpiChanges(HWND dialog)
{
    constexpr int kDisableAll = 1; // DDC_DISABLE_ALL
    if (const auto call = User32<BOOL(WINAPI*)(HWND, int, int)>("SetDialogDpiChangeBehavior"))
        call(dialog, kDisableAll, kDisableAll);
}

UniqueFont FontAt(HWND dialog, const toolkit::DialogTemplate& tmpl, int dpi)
{
    LOGFONTA font{};
    const auto current = reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0));
    if (!current || !::GetObjectA(current, sizeof font, &font))
        return nullptr;
    font.lfHeight = -::MulDiv(tmpl.fontSize, dpi, 72);
    return UniqueFont(::CreateFontIndirectA(&font));
}

void LayOut(HWND dialog, const toolkit::DialogTemplate& tmpl, const DialogUnits& units, HFONT font)
{
    // As the dialog manager makes a control: its place first, then its font,
    // from which a combo box takes its height. A picture takes the size of
    // the picture it is given (FitPictures).
    for (const auto& [c, control] : ControlsOf(dialog, tmpl)) {
        const RECT place = units.Map(c->x, c->y, c->cx, c->cy);
        const UINT size = c->kind == toolkit::ControlKind::StaticBitmap ? SWP_NOSIZE : 0;
        ::SetWindowPos(control, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                       SWP_NOZORDER | SWP_NOACTIVATE | size);
        ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    // The frame is the system's at the new DPI, whatever size it was given.
    const RECT wanted = units.Map(0, 0, tmpl.cx, tmpl.cy);
    RECT inside{};
    RECT outside{};
    if (!::GetClientRect(dialog, &inside) || !::GetWindowRect(dialog, &outside))
        return;
    ::SetWindowPos(dialog, nullptr, 0, 0, outside.right - outside.left + wanted.right - inside.right,
                   outside.bottom - outside.top + wanted.bottom - inside.bottom,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FitPictures(HWND dialog, const toolkit::DialogTemplate& tmpl, const DialogUnits& units, std::vector<platform::win32::UniqueBitmap>& kept)
{
    for (const auto& [c, control] : ControlsOf(dialog, tmpl)) {
        if (c->kind != toolkit::ControlKind::StaticBitmap)
            continue;
        platform::win32::UniqueBitmap picture(static_cast<HBITMAP>(::LoadImageA(
            platform::win32::ProgramInstance(), MAKEINTRESOURCEA(c->resourceId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
        if (!picture)
            continue;
        const RECT room = units.Map(c->x, c->y, c->cx, c->cy);
        const SIZE size = BitmapSize(picture.get());
        const LONG width = room.right - room.left;
        const LONG height = room.bottom - room.top;
        if (!Near(size.cx, width) || !Near(size.cy, height))
            picture = ScaledBitmap(picture.get(), width, height);
        if (!picture)
            continue;
        // The static control takes the new picture's size, which is the
        // template's in these units.
        ::SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
        kept.push_back(std::move(picture));
    }
}

} // namespace backends::win32
