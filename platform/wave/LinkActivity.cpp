#include "wave/LinkActivity.h"

namespace platform::wave {

bool LinkActivity::Moved(Time now, bool inUse) {
  if (!inUse) movedAt_ = now;
  const uint64_t exchanged = exchanged_.load(std::memory_order_relaxed);
  if (exchanged == seen_) return false;
  seen_ = exchanged;
  movedAt_ = now;
  return true;
}

std::chrono::milliseconds LinkActivity::Silence(Time now, const LiveTimings &timings) const {
  const bool settled = seen_ != started_ && now - startedAt_ >= timings.start;
  const std::chrono::milliseconds limit = settled ? timings.stall : timings.start;
  return now - movedAt_ >= limit ? limit : std::chrono::milliseconds(0);
}

}  // namespace platform::wave
