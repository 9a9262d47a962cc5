#pragma once

#include "FontSpec.h"

namespace PaintProcs {

// Selects a text style's font into a DC and applies its background mode,
// text colour, background colour and alignment; restoring (or destroying)
// puts the previous font back but leaves the attributes as they are. A second
// Select before Restore keeps the font (recording a contract check) but still
// applies the style's attributes. The DC must outlive the selection. UI thread
// only; never copied.
class GdiFontSelect {
 public:
  GdiFontSelect() = default;
  GdiFontSelect(const GdiFontSelect &) = delete;
  GdiFontSelect &operator=(const GdiFontSelect &) = delete;
  ~GdiFontSelect() { Restore(); }

  void Select(const FontSpec &style, HDC dc);
  void Restore();

 private:
  HFONT font_ = nullptr;
  HDC dc_ = nullptr;
  HFONT previousFont_ = nullptr;
  bool selected_ = false;
};

}  // namespace PaintProcs
