#pragma once

#include <string>
#include <vector>

#include "FontSpec.h"
#include "SmartGdiObject.h"

// The needle gauge of the tuner view. The needle turns about a pivot at the
// left edge, halfway down `rect`, over a scale from `minimum` to `maximum`
// semitones (sharp points up); "Ok", "Down" or "Up" tells where `value` lies
// against the in-tune zone [lowerOk, upperOk] while `valid`. The view sets
// the fields directly; the gauge owns its pens and fonts and deletes them
// once. UI thread only.
class DeviationGauge {
 public:
  DeviationGauge();
  DeviationGauge(const DeviationGauge &) = delete;
  DeviationGauge &operator=(const DeviationGauge &) = delete;

  // Scale marks with labels, coarse (±0.1 .. ±0.4) or with the fine ones
  // (±0.01 .. ±0.03) added; marks outside the scale are skipped when drawn.
  void LoadCoarseTicks();
  void LoadFineTicks();

  // Geometry, in pixels of `rect`'s coordinates.
  POINT Pivot() const;
  // Half the angle the scale spans (radians, at most 80 degrees).
  double HalfSpan() const;
  // Where the needle for value v ends.
  POINT PointFor(double v) const;
  // The word for `value`, or null while not valid.
  const wchar_t *Direction() const;

  // What Paint draws when `value` is v, as text: the same text, the same
  // pixels.
  std::wstring Shown(double v) const;

  // Fills `rect` with the background, then draws the scale, the needle and
  // the word into `context`.
  void Paint() const;

  HDC context = nullptr;
  RECT rect{};
  double value = 0;  // semitones
  bool valid = false;
  double minimum = -0.5;
  double maximum = 0.5;
  double lowerOk = -0.03;
  double upperOk = 0.03;
  std::vector<double> ticks;

 private:
  struct Spot {
    double x, y;
  };
  double Angle(double v) const;
  // The point for v drawn `inset` pixels nearer the pivot.
  Spot At(double v, int inset) const;
  bool OnScale(double v) const { return !(v > maximum || v < minimum); }
  void PaintScale() const;
  // A mark for v, `length` pixels long; returns its inner end.
  Spot PaintMark(double v, int length) const;
  void PaintLabel(double v, Spot inner) const;
  void PaintNeedle() const;
  void PaintDirection() const;
  const wchar_t *DirectionOf(double v) const;

  PaintProcs::SmartGdiObject<HPEN> needlePen_;
  PaintProcs::SmartGdiObject<HPEN> idlePen_;
  PaintProcs::SmartGdiObject<HPEN> markPen_;
  COLORREF background_ = 0xF5F5F5;
  FontSpec wordStyle_;
  FontSpec tickStyle_;
};
