#include "GdiState.h"

#include <cwchar>

#include "phone/Phone.h"

namespace gdi {

State &Current(std::source_location call) { return platform::Phone::ForProgramThread(call).Gdi(); }

HGDIOBJ State::AddStock(std::unique_ptr<Object> object) {
  if (!object) return nullptr;
  object->stock = true;
  return handles_.Add(std::move(object));
}

namespace {

std::unique_ptr<Object> MakeStock(int index) {
  auto object = MakeObject(index == WHITE_BRUSH || index == NULL_BRUSH ? Kind::Brush : Kind::Pen);
  switch (index) {
    case WHITE_BRUSH:
      object->brush.color = RGB(255, 255, 255);
      return object;
    case NULL_BRUSH:
      object->brush.null = true;
      return object;
    case BLACK_PEN:
      return object;
    case NULL_PEN:
      object->pen.style = PS_NULL;
      return object;
    case SYSTEM_FONT: {
      LOGFONTW log{};
      log.lfHeight = 16;
      log.lfWeight = FW_NORMAL;
      std::wcscpy(log.lfFaceName, L"System");
      return MakeFontObject(log);
    }
    default:
      return nullptr;
  }
}

}  // namespace

HGDIOBJ State::Stock(int index) {
  if (index < 0 || index >= static_cast<int>(stock_.size())) return nullptr;
  if (!stock_[index]) stock_[index] = AddStock(MakeStock(index));
  return stock_[index];
}

HGDIOBJ State::DefaultBitmap() {
  if (!defaultBitmap_) defaultBitmap_ = AddStock(MakeBitmapObject(1, 1));
  return defaultBitmap_;
}

Object *FindObject(HGDIOBJ handle, std::source_location call) { return Current(call).Handles().Find(handle); }

Dc *FindDc(HDC hdc, std::source_location call) {
  Object *object = Current(call).Handles().Find(hdc, Kind::DC);
  return object ? object->dc.get() : nullptr;
}

Bitmap *FindBitmap(HGDIOBJ handle, std::source_location call) {
  Object *object = Current(call).Handles().Find(handle, Kind::Bitmap);
  return object ? object->bitmap.get() : nullptr;
}

cairo_surface_t *DcSurface(const Dc &dc) {
  Bitmap *bitmap = FindBitmap(dc.bitmap);
  return bitmap ? bitmap->surface : nullptr;
}

// A DC's selected objects are always live: they cannot be deleted while selected.
const Pen &DcPen(const Dc &dc) { return Current().Handles().Find(dc.pen)->pen; }
const Brush &DcBrush(const Dc &dc) { return Current().Handles().Find(dc.brush)->brush; }
const FontFace *DcFont(const Dc &dc) { return Current().Handles().Find(dc.font)->font.face.get(); }

std::unique_ptr<Object> MakeObject(Kind kind) {
  auto object = std::make_unique<Object>();
  object->kind = kind;
  return object;
}

std::unique_ptr<Object> MakeBitmapObject(int cx, int cy) {
  cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, cx, cy);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  auto object = MakeObject(Kind::Bitmap);
  object->bitmap = std::make_unique<Bitmap>();
  object->bitmap->surface = surface;
  return object;
}

std::unique_ptr<Object> MakeFontObject(const LOGFONTW &log) {
  auto face = Current().Fonts().Get(log);
  if (!face) return nullptr;
  auto object = MakeObject(Kind::Font);
  object->font.log = log;
  object->font.face = std::move(face);
  return object;
}

}  // namespace gdi
