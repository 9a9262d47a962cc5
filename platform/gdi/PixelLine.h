#pragma once

// One-pixel lines written straight into the surface: Bresenham steps from
// the first point up to, but excluding, the last, as GDI draws them.
#include "GdiObject.h"

namespace gdi {

void DrawPixelLine(Dc &dc, POINT from, POINT to, COLORREF color);

}  // namespace gdi
