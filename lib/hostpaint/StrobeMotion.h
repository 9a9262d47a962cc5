#pragma once

#include <cstdint>

// Where the strobe's bands stand: an offset, in band widths, integrated from
// the deviation over the clock's time (milliseconds of GetTickCount, whose
// wrap-around is harmless), not over frames, so the bands show the same
// wherever and however often they are painted. One cent moves them one band
// width a second: right when sharp, left when flat. While no note is heard
// they stand still. UI thread only.
class StrobeMotion {
 public:
  static constexpr double kBandsPerSecondPerCent = 1;

  // From `ms` on, the deviation is `cents` (heard) or none.
  void Set(bool heard, double cents, uint32_t ms);
  // The offset at `ms`, in [0, 2): a dark band and a light one.
  double Offset(uint32_t ms) const;
  bool Heard() const { return heard_; }
  double Cents() const { return cents_; }

 private:
  double offset_ = 0;
  double cents_ = 0;
  bool heard_ = false;
  uint32_t since_ = 0;
};
