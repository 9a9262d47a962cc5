// Creating, selecting and deleting drawing objects.
#include <algorithm>
#include <cstring>

#include "DeviceContext.h"
#include "GdiState.h"

using namespace gdi;

namespace {

HandleTable &Handles(std::source_location call = std::source_location::current()) {
  return Current(call).Handles();
}

// Moves one selection slot of a DC from its current object to `handle`.
HGDIOBJ Swap(HGDIOBJ *slot, HGDIOBJ handle, Object *object) {
  HGDIOBJ previous = *slot;
  if (Object *old = Handles().Find(previous)) --old->uses;
  ++object->uses;
  *slot = handle;
  return previous;
}

HGDIOBJ SelectBitmap(Dc &dc, HGDIOBJ handle, Object *object) {
  if (!dc.memory) return nullptr;
  if (handle == dc.bitmap) return handle;
  // A bitmap lives in one DC at a time; the shared 1x1 default is the exception.
  if (object->uses > 0 && !object->stock) return nullptr;
  HGDIOBJ previous = Swap(&dc.bitmap, handle, object);
  cairo_surface_t *surface = object->bitmap->surface;
  dc.bounds = {0, 0, cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface)};
  BindSurface(dc, surface);
  return previous;
}

int CopyOut(const void *record, int recordSize, int size, LPVOID buffer) {
  if (!buffer) return recordSize;
  if (size <= 0) return 0;
  int n = std::min(size, recordSize);
  std::memcpy(buffer, record, n);
  return n;
}

}  // namespace

HDC CreateCompatibleDC(HDC hdc) {
  if (hdc && !FindDc(hdc)) return nullptr;
  State &state = Current();
  HGDIOBJ pen = state.Stock(BLACK_PEN), brush = state.Stock(WHITE_BRUSH), font = state.Stock(SYSTEM_FONT);
  HGDIOBJ bitmap = state.DefaultBitmap();
  if (!pen || !brush || !font || !bitmap) return nullptr;
  auto object = MakeObject(Kind::DC);
  object->dc = std::make_unique<Dc>();
  Dc &dc = *object->dc;
  Swap(&dc.pen, pen, Handles().Find(pen));
  Swap(&dc.brush, brush, Handles().Find(brush));
  Swap(&dc.font, font, Handles().Find(font));
  Swap(&dc.bitmap, bitmap, Handles().Find(bitmap));
  dc.bounds = {0, 0, 1, 1};
  BindSurface(dc, FindBitmap(bitmap)->surface);
  return static_cast<HDC>(Handles().Add(std::move(object)));
}

BOOL DeleteDC(HDC hdc) {
  Dc *dc = FindDc(hdc);
  if (!dc) return FALSE;
  for (HGDIOBJ selected : {dc->bitmap, dc->pen, dc->brush, dc->font})
    if (Object *object = Handles().Find(selected)) --object->uses;
  Handles().Remove(hdc);
  return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
  if (!FindDc(hdc) || cx < 0 || cy < 0) return nullptr;
  auto object = MakeBitmapObject(cx, cy);
  return object ? static_cast<HBITMAP>(Handles().Add(std::move(object))) : nullptr;
}

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style != PS_SOLID && style != PS_NULL) return nullptr;
  auto object = MakeObject(Kind::Pen);
  object->pen = {style, std::max(width, 1), color & 0xFFFFFF};
  return static_cast<HPEN>(Handles().Add(std::move(object)));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto object = MakeObject(Kind::Brush);
  object->brush.color = color & 0xFFFFFF;
  return static_cast<HBRUSH>(Handles().Add(std::move(object)));
}

HFONT CreateFontIndirectW(const LOGFONTW *lf) {
  if (!lf) return nullptr;
  auto object = MakeFontObject(*lf);
  return object ? static_cast<HFONT>(Handles().Add(std::move(object))) : nullptr;
}

HGDIOBJ GetStockObject(int index) { return Current().Stock(index); }

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ handle) {
  Dc *dc = FindDc(hdc);
  Object *object = Handles().Find(handle);
  if (!dc || !object) return nullptr;
  switch (object->kind) {
    case Kind::Pen:
      return Swap(&dc->pen, handle, object);
    case Kind::Brush:
      return Swap(&dc->brush, handle, object);
    case Kind::Font:
      return Swap(&dc->font, handle, object);
    case Kind::Bitmap:
      return SelectBitmap(*dc, handle, object);
    case Kind::DC:
      break;
  }
  return nullptr;
}

BOOL DeleteObject(HGDIOBJ handle) {
  Object *object = Handles().Find(handle);
  if (!object || object->kind == Kind::DC) return FALSE;
  if (object->stock) return TRUE;
  if (object->uses > 0) return FALSE;
  Handles().Remove(handle);
  return TRUE;
}

int GetObjectW(HGDIOBJ handle, int size, LPVOID buffer) {
  Object *object = Handles().Find(handle);
  if (!object) return 0;
  if (object->kind == Kind::Font) return CopyOut(&object->font.log, sizeof(LOGFONTW), size, buffer);
  if (object->kind != Kind::Bitmap) return 0;
  cairo_surface_t *surface = object->bitmap->surface;
  BITMAP bm{};
  bm.bmWidth = cairo_image_surface_get_width(surface);
  bm.bmHeight = cairo_image_surface_get_height(surface);
  bm.bmWidthBytes = bm.bmWidth * 4;
  bm.bmPlanes = 1;
  bm.bmBitsPixel = 32;
  return CopyOut(&bm, sizeof(BITMAP), size, buffer);
}
