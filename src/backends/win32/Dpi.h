#pragma once
// The window at the DPI of its monitor. The program declares itself aware of
// the DPI of each monitor, so Windows no longer stretches it into a blur: the
// dialog manager scales the controls with their font as it makes the dialog,
// and what it does not scale (pictures, list columns given in pixels) is
// scaled here. When the window comes to a monitor of another DPI, the dialog
// is laid out here afresh, as the dialog manager would have made it there.
#include "platform/win32/Win32.h"
#include "toolkit/Resources.h"

#include <vector>

namespace backends::win32 {

using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, platform::win32::GdiDeleter>;

// The window's DPI: 96 at 100 %, 144 at 150 %, 192 at 200 %.
int DpiOf(HWND window);

// `pixels` at 96 DPI, at `dpi`.
int Scaled(int pixels, int dpi);

// A copy of `source` drawn at `width` x `height` with the system's
// smoothing stretch, or null.
platform::win32::UniqueBitmap ScaledBitmap(HBITMAP source, int width, int height);

// The pixels of the dialog units of a font: a quarter of its average
// character across, an eighth of its height down.
struct DialogUnits {
    int across = 0;
    int down = 0;

    // A place of the template in pixels of the dialog's inside, mapped as the
    // dialog manager maps a control's: corner and size each on their own.
    RECT Map(int x, int y, int cx, int cy) const;
};

// Those the dialog manager gave the dialog when it made it.
DialogUnits UnitsOf(HWND dialog);
// Those of `font`, reckoned as the dialog manager reckons them.
DialogUnits UnitsOf(HFONT font);

// From here on the program lays out the dialog itself when its DPI changes
// (Wine's dialog manager never does; that of Windows 10 would do it too).
void TakeOverDpiChanges(HWND dialog);

// The template's font at `dpi`, otherwise as the dialog manager made it for
// the dialog; null when the dialog has no font of its own.
UniqueFont FontAt(HWND dialog, const toolkit::DialogTemplate& tmpl, int dpi);

// Every control where the template puts it in `units`, with `font`, and
// the dialog's inside of the template's size, the dialog's corner kept.
// A dialog whose controls are not the template's, in its order, keeps them.
void LayOut(HWND dialog, const toolkit::DialogTemplate& tmpl, const DialogUnits& units, HFONT font);

// Each picture control of the dialog gets its picture drawn at the size its
// template gives it in `units` (the dialog grows with its font, the pictures
// of the resources do not), so that no grey band is left beside it; a
// picture within a pixel or two of that size is shown as drawn. The pictures
// are kept in `kept` for as long as the dialog shows them.
void FitPictures(HWND dialog, const toolkit::DialogTemplate& tmpl, const DialogUnits& units,
                 std::vector<platform::win32::UniqueBitmap>& kept);

} // namespace backends::win32
