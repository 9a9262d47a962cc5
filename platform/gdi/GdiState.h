#pragma once

// The gdi module's process-wide state: the handle table, the font cache and
// the stock objects (made on first use). Internal; one thread.
#include <array>
#include <functional>
#include <string_view>

#include "FontFace.h"
#include "HandleTable.h"

namespace gdi {

class State {
 public:
  static State &Get();

  HandleTable &Handles() { return handles_; }
  FontCache &Fonts() { return fonts_; }
  // A stock object by GetStockObject index; null for an index not offered.
  HGDIOBJ Stock(int index);
  // The 1x1 bitmap a new memory DC holds until another is selected.
  HGDIOBJ DefaultBitmap();
  // Forgets every object, font and stock object.
  void Reset();

  std::function<void(std::wstring_view)> textListener;  // see GdiSetTextListener

 private:
  HGDIOBJ AddStock(std::unique_ptr<Object> object);

  HandleTable handles_;
  FontCache fonts_;
  std::array<HGDIOBJ, SYSTEM_FONT + 1> stock_{};
  HGDIOBJ defaultBitmap_ = nullptr;
};

// Lookups by kind; null for a stale handle or one of another kind.
Object *FindObject(HGDIOBJ handle);
Dc *FindDc(HDC hdc);
Bitmap *FindBitmap(HGDIOBJ handle);
cairo_surface_t *DcSurface(const Dc &dc);
const Pen &DcPen(const Dc &dc);
const Brush &DcBrush(const Dc &dc);
const FontFace *DcFont(const Dc &dc);

// New object records.
std::unique_ptr<Object> MakeObject(Kind kind);
std::unique_ptr<Object> MakeBitmapObject(int cx, int cy);
std::unique_ptr<Object> MakeFontObject(const LOGFONTW &log);

}  // namespace gdi
