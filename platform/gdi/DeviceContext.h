#pragma once

// Helpers shared by the drawing calls: binding a DC to its surface and
// mapping logical rectangles onto it. Internal to the gdi module.
#include "GdiObject.h"

namespace gdi {

// (Re)creates the DC's cairo context over its current surface: origin,
// clip to `bounds`, and no anti-aliasing, so shapes and copies touch whole
// pixels exactly as GDI does and pixel tests see no blended edges.
void BindSurface(Dc &dc, cairo_surface_t *surface);

void SetSourceColor(cairo_t *cr, COLORREF color);

// A logical rectangle on the surface, normalised and clipped to the DC's
// bounds; empty (left >= right) when nothing is visible.
RECT SurfaceRect(const Dc &dc, RECT logical);

// Fills [left, right) x [top, bottom) in logical coordinates.
void FillRect(Dc &dc, const RECT &logical, COLORREF color);

inline bool IsEmpty(const RECT &r) { return r.left >= r.right || r.top >= r.bottom; }

}  // namespace gdi
