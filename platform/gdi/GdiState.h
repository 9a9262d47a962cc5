#pragma once

// The gdi module's state, one per phone: the handle table, the font cache
// and the stock objects (made on first use). Internal; the phone's program
// thread.
#include <array>
#include <functional>
#include <source_location>
#include <string_view>

#include "FontFace.h"
#include "HandleTable.h"

namespace gdi {

class State {
 public:
  State() = default;
  State(const State &) = delete;
  State &operator=(const State &) = delete;

  HandleTable &Handles() { return handles_; }
  FontCache &Fonts() { return fonts_; }
  // A stock object by GetStockObject index; null for an index not offered.
  HGDIOBJ Stock(int index);
  // The 1x1 bitmap a new memory DC holds until another is selected.
  HGDIOBJ DefaultBitmap();

  std::function<void(std::wstring_view)> textListener;  // see GdiSetTextListener

 private:
  HGDIOBJ AddStock(std::unique_ptr<Object> object);

  HandleTable handles_;
  FontCache fonts_;
  std::array<HGDIOBJ, SYSTEM_FONT + 1> stock_{};
  HGDIOBJ defaultBitmap_ = nullptr;
};

// The running phone's state, for a drawing call on its program thread
// (checked as platform::Phone::ForProgramThread checks it, naming `call`).
State &Current(std::source_location call = std::source_location::current());

// Lookups by kind; null for a stale handle or one of another kind. Each
// checks the thread for the drawing call that makes it (see Current).
Object *FindObject(HGDIOBJ handle, std::source_location call = std::source_location::current());
Dc *FindDc(HDC hdc, std::source_location call = std::source_location::current());
Bitmap *FindBitmap(HGDIOBJ handle, std::source_location call = std::source_location::current());
cairo_surface_t *DcSurface(const Dc &dc);
const Pen &DcPen(const Dc &dc);
const Brush &DcBrush(const Dc &dc);
const FontFace *DcFont(const Dc &dc);

// New object records.
std::unique_ptr<Object> MakeObject(Kind kind);
std::unique_ptr<Object> MakeBitmapObject(int cx, int cy);
std::unique_ptr<Object> MakeFontObject(const LOGFONTW &log);

}  // namespace gdi
