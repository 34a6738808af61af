#include "backends/win32/Dpi.h"

namespace tk::win32 {

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

// The control of `dialog` whose top left corner is at `at`, in the dialog's
// client coordinates. The controls' own children (a list's header) lie at
// their parent's corner and are passed over.
struct ChildAt {
    HWND dialog;
    POINT at;
    HWND found = nullptr;
};

BOOL CALLBACK FindChildAt(HWND child, LPARAM search)
{
    auto& wanted = *reinterpret_cast<ChildAt*>(search);
    if (::GetParent(child) != wanted.dialog)
        return TRUE;
    RECT r{};
    ::GetWindowRect(child, &r);
    POINT corner{r.left, r.top};
    ::ScreenToClient(wanted.dialog, &corner);
    if (corner.x != wanted.at.x || corner.y != wanted.at.y)
        return TRUE;
    wanted.found = child;
    return FALSE;
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
    using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
    static const auto call = reinterpret_cast<GetDpiForWindowCall>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
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

UniqueBitmap ScaledBitmap(HBITMAP source, int width, int height)
{
    const SIZE size = BitmapSize(source);
    if (size.cx <= 0 || size.cy <= 0 || width <= 0 || height <= 0)
        return nullptr;
    const WindowDc screen(nullptr);
    UniqueBitmap result(::CreateCompatibleBitmap(screen.dc, width, height));
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

void FitPictures(HWND dialog, const DialogTemplate& tmpl, std::vector<UniqueBitmap>& kept)
{
    for (const ControlTemplate& c : tmpl.controls) {
        if (c.kind != ControlKind::StaticBitmap)
            continue;
        RECT room{c.x, c.y, c.x + c.cx, c.y + c.cy};
        ::MapDialogRect(dialog, &room);
        ChildAt search{dialog, {room.left, room.top}};
        ::EnumChildWindows(dialog, FindChildAt, reinterpret_cast<LPARAM>(&search));
        const UniqueBitmap picture(static_cast<HBITMAP>(::LoadImageA(
            ProgramInstance(), MAKEINTRESOURCEA(c.resourceId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
        if (!search.found || !picture)
            continue;
        const SIZE size = BitmapSize(picture.get());
        const LONG width = room.right - room.left;
        const LONG height = room.bottom - room.top;
        if (Near(size.cx, width) && Near(size.cy, height))
            continue;
        UniqueBitmap fitted = ScaledBitmap(picture.get(), width, height);
        if (!fitted)
            continue;
        // The static control takes the new picture's size, which is the
        // template's at this DPI.
        ::SendMessageA(search.found, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(fitted.get()));
        kept.push_back(std::move(fitted));
    }
}

} // namespace tk::win32
