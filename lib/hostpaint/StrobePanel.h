#pragma once

#include <cstdint>
#include <string>

#include "FontSpec.h"
#include "SmartGdiObject.h"
#include "StrobeMotion.h"

// The strobe screen of the tuner view, for the last cent: the target note's
// name and frequency, a strip of bands that drift right while the note is
// sharp and left while it is flat, one band width (kBandWidth pixels) a
// second for each cent (StrobeMotion), standing still in tune, and the
// deviation in cents to one decimal with the heard frequency. While no note
// is heard the bands stand still and turn grey. In the phone's look: the
// gauge's background and colours, Verdana. The view sets `rect`; the panel
// owns its drawing objects and deletes them once. UI thread only.
class StrobePanel {
 public:
  static constexpr int kBandWidth = 16;

  StrobePanel();
  StrobePanel(const StrobePanel &) = delete;
  StrobePanel &operator=(const StrobePanel &) = delete;

  // At `ms`, the heard note number (0: none) and the target it is read
  // against (the note's place in the temperament, as a note number).
  void SetReading(double pitch, double target, uint32_t ms);
  bool Heard() const { return motion_.Heard(); }
  const StrobeMotion &Motion() const { return motion_; }

  // Where the bands are painted, in the view's coordinates: what a frame of
  // the animation repaints.
  RECT BandsRect() const;
  // The deviation as shown: "+0.4 cents", "0.0 cents", or "-" when none.
  std::wstring Deviation() const;
  // Where the bands stand at `ms`, in pixels: a frame that would paint them
  // at the same place shows nothing new.
  int Shift(uint32_t ms) const;
  // Everything the screen shows but the bands' place, with A = `reference`
  // and `note` chosen, in tune at `target`: a reading that leaves it alike
  // needs no repaint (the readings change in the millionths of a cent).
  std::wstring Shown(double reference, int note, double target) const;

  // Fills `rect` and draws the screen as it stands at `ms`, with A =
  // `reference` hertz and `note` the one chosen (0: none yet), in tune at
  // `target`; only the bands when `paintRect` lies within them (a frame of
  // the animation).
  void Paint(HDC dc, double reference, int note, double target, uint32_t ms, const RECT &paintRect) const;

  RECT rect{};

 private:
  void PaintBands(HDC dc, uint32_t ms) const;
  void PaintTexts(HDC dc, double reference, int note, double target) const;

  PaintProcs::SmartGdiObject<HPEN> nullPen_;
  PaintProcs::SmartGdiObject<HBRUSH> darkBrush_;
  PaintProcs::SmartGdiObject<HBRUSH> stillBrush_;
  COLORREF background_ = 0xF5F5F5;
  COLORREF light_ = RGB(255, 202, 176);
  COLORREF stillLight_ = RGB(224, 224, 224);
  FontSpec nameStyle_;   // the target note
  FontSpec centsStyle_;  // the deviation
  FontSpec valueStyle_;  // A, the frequencies
  FontSpec legendStyle_;
  StrobeMotion motion_;
  double pitch_ = 0;
};
