#include "StrobeMotion.h"

#include <cmath>

void StrobeMotion::Set(bool heard, double cents, uint32_t ms) {
  offset_ = Offset(ms);
  since_ = ms;
  heard_ = heard && std::isfinite(cents);
  cents_ = heard_ ? cents : 0;
}

double StrobeMotion::Offset(uint32_t ms) const {
  if (!heard_) return offset_;
  const double seconds = static_cast<uint32_t>(ms - since_) / 1000.0;
  const double offset = std::fmod(offset_ + cents_ * kBandsPerSecondPerCent * seconds, 2.0);
  return offset < 0 ? offset + 2 : offset;
}
