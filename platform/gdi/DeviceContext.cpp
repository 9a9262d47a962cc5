#include "DeviceContext.h"

#include <algorithm>

namespace gdi {

void BindSurface(Dc &dc, cairo_surface_t *surface) {
  if (dc.cr) cairo_destroy(dc.cr);
  dc.cr = cairo_create(surface);
  cairo_set_antialias(dc.cr, CAIRO_ANTIALIAS_NONE);
  cairo_rectangle(dc.cr, dc.bounds.left, dc.bounds.top, dc.bounds.right - dc.bounds.left,
                  dc.bounds.bottom - dc.bounds.top);
  cairo_clip(dc.cr);
  cairo_translate(dc.cr, dc.origin.x, dc.origin.y);
}

void SetSourceColor(cairo_t *cr, COLORREF color) {
  cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0, GetBValue(color) / 255.0);
}

RECT SurfaceRect(const Dc &dc, RECT r) {
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  RECT s{r.left + dc.origin.x, r.top + dc.origin.y, r.right + dc.origin.x, r.bottom + dc.origin.y};
  s.left = std::max(s.left, dc.bounds.left);
  s.top = std::max(s.top, dc.bounds.top);
  s.right = std::min(s.right, dc.bounds.right);
  s.bottom = std::min(s.bottom, dc.bounds.bottom);
  return s;
}

void FillRect(Dc &dc, const RECT &logical, COLORREF color) {
  RECT s = SurfaceRect(dc, logical);
  if (IsEmpty(s)) return;
  SetSourceColor(dc.cr, color);
  cairo_rectangle(dc.cr, s.left - dc.origin.x, s.top - dc.origin.y, s.right - s.left, s.bottom - s.top);
  cairo_fill(dc.cr);
}

}  // namespace gdi
