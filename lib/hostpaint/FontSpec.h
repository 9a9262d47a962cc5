#pragma once

#include "SmartGdiObject.h"

// One text style of the tuner view: an owned font, the cell height the
// platform reports for it, and the colours, background mode and alignment
// that GdiFontSelect applies with it. The owner sets colours, mode and
// alignment after Create. UI thread only; never copied.
struct FontSpec {
  PaintProcs::SmartGdiObject<HFONT> font;
  int height = 0;  // pixels
  COLORREF backColor = 0x000000;
  COLORREF textColor = 0xFFFFFF;
  int backMode = OPAQUE;
  int textAlign = 0;

  // Creates the font (`size` is the cell height in pixels; weight 700 when
  // bold, else 400) and reads its height back from the platform. The face
  // name is cut to 31 characters. If the font cannot be made, `font` stays
  // empty and `height` unchanged.
  void Create(const WCHAR *faceName, int size, bool bold);
};
