#pragma once

#include <string>

#include "FontSpec.h"
#include "GuitarPanel.h"
#include "SmartGdiObject.h"
#include "strum/StrumReading.h"

// The strum screen of the tuner view: what the strum check read of the
// `rows` strings in the last strum, string 0 (the lowest) at the top as on
// the guitar panel; rows past the reading's strings show none. A
// heading gives the reference A and how many strums were read. Each string's
// row has its note name, its bar (the guitar panel's string bar, with its
// border while the string is selected) crossed by the
// centre mark, the in-tune zone within it, a needle at the deviation while
// the string was heard (the bar's ends are ±50 cents; a string further off
// pins its needle there), and the deviation: "Ok" within ±3 cents, else the
// signed cents, "?" for a string the strum check is not sure of (no needle:
// no number it cannot trust), or "-" for a string the strum did not sound. In the phone's
// look: the gauge's background, pens and Verdana, the panel's bars. The view
// sets `rect`; the panel owns its drawing objects and deletes them once. UI
// thread only.
class StrumPanel {
 public:
  static constexpr double kOkCents = 3;    // the gauge's in-tune zone, ±0.03 semitone
  static constexpr double kEndCents = 50;  // half a semitone: the nearest note is another

  StrumPanel();
  StrumPanel(const StrumPanel &) = delete;
  StrumPanel &operator=(const StrumPanel &) = delete;

  // The strum read last; the strings' order is the view's.
  void SetReading(const Strum::StrumReading &reading);
  int Strums() const { return strums_; }
  const Strum::StrumReading &Reading() const { return reading_; }

  // Geometry, in `rect`'s coordinates: the vertical centre of string i's
  // row, and where its needle stands for a deviation (clamped to the ends).
  int RowCentre(int i) const;
  int NeedleX(double cents) const;
  // What string i's row says of its deviation; empty before the first strum.
  std::wstring Word(int i) const;

  // Fills `rect` and draws the heading and the rows of `strings` (their
  // notes and selection) into `dc`, with A = `reference` hertz.
  void Paint(HDC dc, double reference, const GuitarPanel &strings) const;

  RECT rect{};
  int rows = 6;  // the tuning's strings

 private:
  bool Heard(int i) const;
  int BarLeft() const;
  int BarRight() const;
  void PaintHeading(HDC dc, double reference) const;
  void PaintBar(HDC dc, int i, bool selected) const;
  void PaintTexts(HDC dc, const GuitarPanel &strings) const;

  PaintProcs::SmartGdiObject<HPEN> nullPen_;
  PaintProcs::SmartGdiObject<HBRUSH> barBrush_;
  PaintProcs::SmartGdiObject<HPEN> selectedPen_;
  PaintProcs::SmartGdiObject<HBRUSH> zoneBrush_;
  PaintProcs::SmartGdiObject<HPEN> needlePen_;
  PaintProcs::SmartGdiObject<HPEN> markPen_;
  COLORREF background_ = 0xF5F5F5;
  FontSpec nameStyle_;   // note names and "Ok"
  FontSpec valueStyle_;  // the heading and the cents
  int strums_ = 0;
  Strum::StrumReading reading_;
};
