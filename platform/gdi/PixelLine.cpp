#include "PixelLine.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "GdiState.h"

namespace gdi {

void DrawPixelLine(Dc &dc, POINT from, POINT to, COLORREF color) {
  cairo_surface_t *surface = DcSurface(dc);
  cairo_surface_flush(surface);
  unsigned char *data = cairo_image_surface_get_data(surface);
  int stride = cairo_image_surface_get_stride(surface);
  if (!data) return;
  const uint32_t pixel = (uint32_t{GetRValue(color)} << 16) | (uint32_t{GetGValue(color)} << 8) | GetBValue(color);
  int x = from.x + dc.origin.x, y = from.y + dc.origin.y;
  const int x1 = to.x + dc.origin.x, y1 = to.y + dc.origin.y;
  const int dx = std::abs(x1 - x), sx = x < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y), sy = y < y1 ? 1 : -1;
  int error = dx + dy;
  const RECT &b = dc.bounds;
  while (x != x1 || y != y1) {
    if (x >= b.left && x < b.right && y >= b.top && y < b.bottom)
      reinterpret_cast<uint32_t *>(data + static_cast<std::ptrdiff_t>(y) * stride)[x] = pixel;
    int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += sx;
    }
    if (twice <= dx) {
      error += dx;
      y += sy;
    }
  }
  int left = std::max<int>(std::min(from.x, to.x) + dc.origin.x, b.left);
  int top = std::max<int>(std::min(from.y, to.y) + dc.origin.y, b.top);
  int right = std::min<int>(std::max(from.x, to.x) + dc.origin.x + 1, b.right);
  int bottom = std::min<int>(std::max(from.y, to.y) + dc.origin.y + 1, b.bottom);
  if (left < right && top < bottom) cairo_surface_mark_dirty_rectangle(surface, left, top, right - left, bottom - top);
}

}  // namespace gdi
