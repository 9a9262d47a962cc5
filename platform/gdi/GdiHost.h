#pragma once

// What the emulated phone itself (window manager, screen presenter, device
// and tests) needs from the drawing layer beyond the Win32 calls.
// Thread: the phone's program thread, like the Win32 calls.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "win/gdi.h"

// A DC that draws onto `target` with logical (0, 0) at area's top-left and
// everything clipped to `area` (a window's DC on the screen bitmap). It
// cannot select another bitmap; the target cannot be deleted while it lives.
// Release it with DeleteDC. NULL for a bad bitmap.
HDC GdiCreateTargetDC(HBITMAP target, const RECT &area);
// The same, further clipped to `clip` (logical coordinates).
HDC GdiCreateTargetDC(HBITMAP target, const RECT &area, const RECT &clip);

// Writes a bitmap, or the bitmap a DC draws on, as an RGB PNG file; false,
// with the reason in `why` when given, if it could not be written whole (a
// regular file is then removed: a PNG cut short is no picture). A FIFO
// nobody reads is refused at once (drovane::OpenForWriting).
bool GdiWritePng(HGDIOBJ bitmapOrDc, const char *path, std::string *why = nullptr);

// One pixel of a bitmap, or of the bitmap a DC draws on (surface
// coordinates), as COLORREF; CLR_INVALID outside it or for a bad handle.
COLORREF GdiGetPixel(HGDIOBJ bitmapOrDc, int x, int y);

// Copies a bitmap's pixels as 0x00RRGGBB words, top row first, into `out`
// (width x height words); false for a bad handle or another size. With
// `top` and `bottom`, only those rows, each to its place in `out`.
bool GdiReadPixels(HBITMAP bitmap, uint32_t *out, int width, int height, int top = 0, int bottom = -1);

// Told every non-empty text that ExtTextOutW or DrawTextW draws, on any DC,
// as the call passed it (all its lines at once), before it is drawn. Null
// removes it. The window manager records what a paint shows with it.
void GdiSetTextListener(std::function<void(std::wstring_view text)> listener);

// Created GDI objects (DCs, bitmaps, pens, brushes, fonts) not yet deleted.
std::size_t GdiLiveObjectCount();

// Releases the font libraries' caches, so leak checkers see a clean exit.
// For when no phone runs any more (its drawing objects went with it).
void GdiShutdown();
