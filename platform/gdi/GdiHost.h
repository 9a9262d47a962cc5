#pragma once

// What the emulated phone itself (window manager, screen presenter, device
// and tests) needs from the drawing layer beyond the Win32 calls.
// Thread: user-interface thread, like the Win32 calls.
#include <cstddef>

#include "win/gdi.h"

// A DC that draws onto `target` with logical (0, 0) at area's top-left and
// everything clipped to `area` (a window's DC on the screen bitmap). It
// cannot select another bitmap; the target cannot be deleted while it lives.
// Release it with DeleteDC. NULL for a bad bitmap.
HDC GdiCreateTargetDC(HBITMAP target, const RECT &area);

// Writes a bitmap, or the bitmap a DC draws on, as an RGB PNG file.
bool GdiWritePng(HGDIOBJ bitmapOrDc, const char *path);

// One pixel of a bitmap, or of the bitmap a DC draws on (surface
// coordinates), as COLORREF; CLR_INVALID outside it or for a bad handle.
COLORREF GdiGetPixel(HGDIOBJ bitmapOrDc, int x, int y);

// Created GDI objects (DCs, bitmaps, pens, brushes, fonts) not yet deleted.
std::size_t GdiLiveObjectCount();

// Forgets every GDI object and font and releases the font libraries' caches,
// so leak checkers see a clean exit. Every handle becomes stale.
void GdiShutdown();
