#pragma once

#include "FontSpec.h"
#include "PictureFile.h"
#include "SmartGdiObject.h"
#include "general/RCPtr.h"

// The guitar panel of the tuner view: the guitar picture stretched over
// `rect` with one horizontal bar per string, `strings` of them (4 to 9).
// String 0 is string 1 of the tuning (the lowest, the sixth of a guitar) and
// is drawn at the top; six strings lie where the picture's do, other counts
// evenly between the picture's outer two. The view sets the fields
// directly; the panel owns its pens, brushes, fonts and picture and deletes
// them once. UI thread only.
class GuitarPanel {
 public:
  static constexpr int kMostStrings = 9;

  // Loads the picture "Guitar.bmp" from `module`; a missing picture leaves
  // an empty background.
  explicit GuitarPanel(HINSTANCE module);
  GuitarPanel(const GuitarPanel &) = delete;
  GuitarPanel &operator=(const GuitarPanel &) = delete;

  // Vertical span of string i's bar: nearest(c - 6) .. nearest(c + 6), with
  // c = top + height × the string's proportion.
  int BarTop(int i) const;
  int BarBottom(int i) const;
  // The first bar (lowest index) containing (x, y), borders included, with
  // its note; false when no bar does.
  bool HitTest(int x, int y, double *note) const;

  // Picture, unselected bars, selected bars, then names and labels if shown.
  void Paint(HDC dc) const;

  RECT rect{};
  int strings = 6;
  bool selected[kMostStrings] = {};
  bool highlight[kMostStrings] = {};
  int notes[kMostStrings] = {};
  bool showNoteNames = true;
  bool showStringLabels = true;

 private:
  double BarCentre(int i) const;
  void PaintBars(HDC dc, bool selectedPass) const;
  void PaintNoteNames(HDC dc) const;
  void PaintStringLabels(HDC dc) const;

  PaintProcs::SmartGdiObject<HPEN> nullPen_;
  PaintProcs::SmartGdiObject<HBRUSH> barBrush_;
  PaintProcs::SmartGdiObject<HPEN> selectedPen_;
  PaintProcs::SmartGdiObject<HBRUSH> selectedBrush_;
  PaintProcs::SmartGdiObject<HBRUSH> highlightBrush_;
  FontSpec noteNameStyle_;
  FontSpec labelStyle_;
  RCPtr<PictureFile> picture_;
};
