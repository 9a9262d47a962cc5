#include "CueTracker.h"

#include <algorithm>
#include <cmath>

double CueTracker::ClicksPerSecond(double cents) {
  return 1 + 9 * std::sqrt(std::min(std::abs(cents), 50.0) / 50);
}

CueTracker::Step CueTracker::Reading(bool heard, double cents, double okCents, double seconds) {
  heard = heard && std::isfinite(cents);
  const bool inZone = heard && std::abs(cents) <= okCents;
  if (inZone && !inZone_) since_ = seconds;
  if (!inZone) chimed_ = false;
  inZone_ = inZone;
  Step step{heard ? ClicksPerSecond(cents) : 0, false};
  if (inZone && !chimed_ && seconds - since_ >= kHoldSeconds) step.chime = chimed_ = true;
  return step;
}
