#pragma once
// The window at the screen's DPI. The program declares itself aware of the
// DPI of each monitor, so Windows no longer stretches it into a blur: the
// dialog manager scales the controls with their font, and what it does not
// scale (pictures, list columns given in pixels) is scaled here.
#include "platform/win32/Win32.h"
#include "toolkit/Resources.h"

#include <vector>

namespace tk::win32 {

// The window's DPI: 96 at 100 %, 144 at 150 %, 192 at 200 %.
int DpiOf(HWND window);

// `pixels` at 96 DPI, at `dpi`.
int Scaled(int pixels, int dpi);

// A copy of `source` drawn at `width` x `height` with the system's
// smoothing stretch, or null.
UniqueBitmap ScaledBitmap(HBITMAP source, int width, int height);

// Each picture control of the dialog gets its picture drawn at the size its
// template gives it at this DPI (the dialog grows with its font, the
// pictures of the resources do not), so that no grey band is left beside
// it; a picture within a pixel or two of that size is left as drawn. The new
// pictures are kept in `kept` for as long as the dialog shows them.
void FitPictures(HWND dialog, const DialogTemplate& tmpl, std::vector<UniqueBitmap>& kept);

} // namespace tk::win32
