// Lines and rectangles with the DC's pen and brush.
#include <algorithm>

#include "DeviceContext.h"
#include "GdiState.h"
#include "PixelLine.h"

using namespace gdi;

namespace {

// Odd widths centre on the pixel, even widths on its top-left corner, so a
// 4-pixel line at y covers rows y-2 .. y+1.
double PenOffset(const Pen &pen) { return pen.width % 2 ? 0.5 : 0.0; }

void StrokeWide(Dc &dc, const Pen &pen) {
  SetSourceColor(dc.cr, pen.color);
  cairo_set_line_width(dc.cr, pen.width);
  cairo_set_line_cap(dc.cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(dc.cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(dc.cr);
}

void DrawSegments(Dc &dc, const POINT *points, int count) {
  const Pen &pen = DcPen(dc);
  if (pen.style == PS_NULL) return;
  if (pen.width == 1) {
    for (int i = 1; i < count; ++i) DrawPixelLine(dc, points[i - 1], points[i], pen.color);
    return;
  }
  double off = PenOffset(pen);
  cairo_move_to(dc.cr, points[0].x + off, points[0].y + off);
  for (int i = 1; i < count; ++i) cairo_line_to(dc.cr, points[i].x + off, points[i].y + off);
  StrokeWide(dc, pen);
}

void FrameRect(Dc &dc, const Pen &pen, const RECT &r) {
  if (pen.width == 1) {
    FillRect(dc, {r.left, r.top, r.right, r.top + 1}, pen.color);
    FillRect(dc, {r.left, r.bottom - 1, r.right, r.bottom}, pen.color);
    FillRect(dc, {r.left, r.top, r.left + 1, r.bottom}, pen.color);
    FillRect(dc, {r.right - 1, r.top, r.right, r.bottom}, pen.color);
    return;
  }
  double off = PenOffset(pen);
  cairo_rectangle(dc.cr, r.left + off, r.top + off, r.right - 1 - r.left, r.bottom - 1 - r.top);
  StrokeWide(dc, pen);
}

}  // namespace

BOOL MoveToEx(HDC hdc, int x, int y, POINT *previous) {
  Dc *dc = FindDc(hdc);
  if (!dc) return FALSE;
  if (previous) *previous = dc->position;
  dc->position = {x, y};
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  Dc *dc = FindDc(hdc);
  if (!dc) return FALSE;
  POINT points[2] = {dc->position, {x, y}};
  DrawSegments(*dc, points, 2);
  dc->position = points[1];
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT *points, int count) {
  Dc *dc = FindDc(hdc);
  if (!dc || !points || count < 2) return FALSE;
  DrawSegments(*dc, points, count);
  return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  Dc *dc = FindDc(hdc);
  if (!dc) return FALSE;
  RECT r{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
  if (r.right - r.left < 1 || r.bottom - r.top < 1) return TRUE;
  const Brush &brush = DcBrush(*dc);
  // The fill stops one pixel short on the right and bottom; a pen outline
  // covers that last column and row, a null pen leaves them.
  if (!brush.null) FillRect(*dc, {r.left, r.top, r.right - 1, r.bottom - 1}, brush.color);
  const Pen &pen = DcPen(*dc);
  if (pen.style != PS_NULL) FrameRect(*dc, pen, r);
  return TRUE;
}
