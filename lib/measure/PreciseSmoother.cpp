#include "PreciseSmoother.h"

#include <algorithm>
#include <cmath>

namespace Measure {

void PreciseSmoother::Restart() {
  notes_.clear();
  pending_ = 0;
}

double PreciseSmoother::Reading() const {
  std::vector<double> sorted(notes_);
  std::sort(sorted.begin(), sorted.end());
  const size_t quarter = sorted.size() / 4;
  double sum = 0;
  for (size_t i = quarter; i < sorted.size() - quarter; ++i) sum += sorted[i];
  return sum / static_cast<double>(sorted.size() - 2 * quarter);
}

void PreciseSmoother::Begin(double note) {
  notes_ = {pending_, note};
  pending_ = 0;
  began_ = true;
}

double PreciseSmoother::Step(double note) {
  began_ = false;
  if (note == 0) {
    pending_ = 0;
    if (++missed_ > kHold) notes_.clear(), shown_ = 0;
    return shown_;
  }
  missed_ = 0;
  const bool agrees = !notes_.empty() && std::fabs(note - Reading()) <= kSameNote;
  if (agrees) {
    notes_.push_back(note);
    if (notes_.size() > kWindow) notes_.erase(notes_.begin());
    pending_ = 0;
  } else if (pending_ != 0 && std::fabs(note - pending_) <= kSameNote) {
    Begin(note);
  } else {
    pending_ = note;
    return shown_;
  }
  shown_ = Reading();
  return shown_;
}

}  // namespace Measure
