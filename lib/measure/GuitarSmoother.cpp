#include "GuitarSmoother.h"

#include <cmath>

namespace Measure3 {

void GuitarSmoother::Drain() {
  while (window_.size() >= kWindow) Step();
}

void GuitarSmoother::Step() {
  double n = 0, sum = 0, last = 0;
  bool ending = false;
  for (size_t i = 0; i < window_.size(); ++i) {
    if (window_[i] != 0) {
      n += 1;
      sum += window_[i];
      last = window_[i];
    } else if (i > 0 && window_[i - 1] != 0) {
      ending = true;
    }
  }
  double estimate = n > 0 ? sum / n : 0;
  if (n > 2) {
    // Centre of the line through the non-zero notes, x centred on floor(n / 2).
    const double middle = std::floor(n / 2);
    double sx = 0, sxx = 0, sxy = 0, i = 0;
    for (double y : window_) {
      if (y == 0) continue;
      const double x = i - middle;
      sx += x;
      sxx += x * x;
      sxy += x * y;
      i += 1;
    }
    estimate = (sum * sxx - sx * sxy) / (n * sxx - sx * sx);
  }
  if (ending) {
    results_.push_back(BestOfHistory());
    history_.clear();
  } else {
    results_.push_back(estimate);
    if (estimate != 0) history_.push_back({estimate, std::fabs(estimate - last), n});
  }
  window_.erase(window_.begin());
  if (history_.size() > kHistory) history_.erase(history_.begin(), history_.end() - kHistory);
}

// The full-window reading closest to its own last note (earliest on ties);
// without one, the oldest reading; without any, 0.
double GuitarSmoother::BestOfHistory() const {
  const HistoryRecord *best = nullptr;
  for (const HistoryRecord &r : history_)
    if (r.count == kWindow && (!best || r.deviation < best->deviation)) best = &r;
  if (best) return best->estimate;
  return history_.empty() ? 0 : history_.front().estimate;
}

}  // namespace Measure3
