#pragma once

// The drawing objects behind GDI handles. Internal to the gdi module.
#include <cairo.h>

#include <memory>

#include "win/gdi.h"

namespace gdi {

class FontFace;

enum class Kind : unsigned char { DC, Bitmap, Pen, Brush, Font };

struct Pen {
  int style = PS_SOLID;
  int width = 1;  // pixels, at least 1
  COLORREF color = 0;
};

struct Brush {
  bool null = false;
  COLORREF color = 0;
};

struct Font {
  LOGFONTW log{};
  std::shared_ptr<const FontFace> face;
};

// A 32-bit image (cairo RGB24: 0x00RRGGBB words, top row first).
struct Bitmap {
  cairo_surface_t *surface = nullptr;
  ~Bitmap() {
    if (surface) cairo_surface_destroy(surface);
  }
};

struct Dc {
  bool memory = true;  // a memory DC selects bitmaps; a target DC draws on a fixed one
  HGDIOBJ bitmap = nullptr, pen = nullptr, brush = nullptr, font = nullptr;
  int bkMode = OPAQUE;
  COLORREF bkColor = RGB(255, 255, 255);
  COLORREF textColor = RGB(0, 0, 0);
  UINT textAlign = TA_LEFT | TA_TOP;
  POINT position{0, 0};
  POINT origin{0, 0};   // where logical (0, 0) lies on the surface
  RECT bounds{0, 0, 0, 0};  // drawable surface area (surface coordinates)
  cairo_t *cr = nullptr;    // kept for the life of the selected bitmap
  ~Dc() {
    if (cr) cairo_destroy(cr);
  }
};

struct Object {
  Kind kind;
  bool stock = false;
  int uses = 0;  // DCs that have it selected (or draw on it)
  std::unique_ptr<Dc> dc;
  std::unique_ptr<Bitmap> bitmap;
  Pen pen;
  Brush brush;
  Font font;
};

}  // namespace gdi
