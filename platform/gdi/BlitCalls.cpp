// Block and stretch copies between DCs (plain copy only).
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "DeviceContext.h"
#include "GdiState.h"

using namespace gdi;

namespace {

RECT Intersect(const RECT &a, const RECT &b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

// Copies whole rows; rows run bottom-up when a copy within one surface moves
// down, so overlapping blocks come out right.
void CopyRows(cairo_surface_t *from, cairo_surface_t *to, const RECT &d, int shiftX, int shiftY) {
  cairo_surface_flush(from);
  cairo_surface_flush(to);
  unsigned char *src = cairo_image_surface_get_data(from), *dst = cairo_image_surface_get_data(to);
  int srcStride = cairo_image_surface_get_stride(from), dstStride = cairo_image_surface_get_stride(to);
  size_t bytes = static_cast<size_t>(d.right - d.left) * 4;
  bool upward = from == to && shiftY < 0;
  for (int i = 0; i < d.bottom - d.top; ++i) {
    int y = upward ? d.bottom - 1 - i : d.top + i;
    std::memmove(dst + static_cast<ptrdiff_t>(y) * dstStride + d.left * 4,
                 src + static_cast<ptrdiff_t>(y + shiftY) * srcStride + (d.left + shiftX) * 4, bytes);
  }
  cairo_surface_mark_dirty_rectangle(to, d.left, d.top, d.right - d.left, d.bottom - d.top);
}

void Copy(Dc &dest, int x, int y, int cx, int cy, Dc &source, int x1, int y1) {
  RECT d{x + dest.origin.x, y + dest.origin.y, 0, 0};
  d.right = d.left + cx;
  d.bottom = d.top + cy;
  int shiftX = x1 + source.origin.x - d.left, shiftY = y1 + source.origin.y - d.top;
  const RECT &s = source.bounds;
  d = Intersect(Intersect(d, dest.bounds), {s.left - shiftX, s.top - shiftY, s.right - shiftX, s.bottom - shiftY});
  if (!IsEmpty(d)) CopyRows(DcSurface(source), DcSurface(dest), d, shiftX, shiftY);
}

void Stretch(Dc &dest, int x, int y, int cx, int cy, Dc &source, int x1, int y1, int cx1, int cy1) {
  cairo_surface_t *from = DcSurface(source);
  bool same = from == DcSurface(dest);
  if (same) {
    cairo_surface_t *copy = cairo_surface_create_similar_image(from, CAIRO_FORMAT_RGB24,
        cairo_image_surface_get_width(from), cairo_image_surface_get_height(from));
    cairo_t *cr = cairo_create(copy);
    cairo_set_source_surface(cr, from, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    from = copy;
  }
  double sx = static_cast<double>(cx1) / cx, sy = static_cast<double>(cy1) / cy;
  cairo_matrix_t m;
  cairo_matrix_init(&m, sx, 0, 0, sy, x1 + source.origin.x - sx * x, y1 + source.origin.y - sy * y);
  cairo_pattern_t *pattern = cairo_pattern_create_for_surface(from);
  cairo_pattern_set_matrix(pattern, &m);
  // Nearest pixel, as a colour StretchBlt picks; outside the source stays untouched.
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
  cairo_save(dest.cr);
  cairo_rectangle(dest.cr, x, y, cx, cy);
  cairo_clip(dest.cr);
  cairo_set_source(dest.cr, pattern);
  cairo_paint(dest.cr);
  cairo_restore(dest.cr);
  cairo_pattern_destroy(pattern);
  if (same) cairo_surface_destroy(from);
}

}  // namespace

BOOL BitBlt(HDC hdcDest, int x, int y, int cx, int cy, HDC hdcSource, int x1, int y1, DWORD rop) {
  Dc *dest = FindDc(hdcDest), *source = FindDc(hdcSource);
  if (!dest || !source || rop != SRCCOPY || cx < 0 || cy < 0) return FALSE;
  Copy(*dest, x, y, cx, cy, *source, x1, y1);
  return TRUE;
}

BOOL StretchBlt(HDC hdcDest, int x, int y, int cx, int cy, HDC hdcSource, int x1, int y1, int cx1, int cy1,
                DWORD rop) {
  Dc *dest = FindDc(hdcDest), *source = FindDc(hdcSource);
  if (!dest || !source || rop != SRCCOPY || cx < 0 || cy < 0 || cx1 < 0 || cy1 < 0) return FALSE;
  if (cx == 0 || cy == 0 || cx1 == 0 || cy1 == 0) return TRUE;
  if (cx == cx1 && cy == cy1)
    Copy(*dest, x, y, cx, cy, *source, x1, y1);
  else
    Stretch(*dest, x, y, cx, cy, *source, x1, y1, cx1, cy1);
  return TRUE;
}
