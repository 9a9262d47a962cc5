#include "wave/ClockPacer.h"

#include <algorithm>

#include "wave/SampleClock.h"

namespace platform::wave {

void ClockPacer::Begin(Time origin) {
  origin_ = origin;
  done_ = 0;
}

void ClockPacer::Schedule(const DeviceQueue &device) {
  if (device.Queue().empty()) return;
  pending_ = ScheduleAt(origin_ + SamplesToClock(done_ + Samples(device.Queue().front())), [this] {
    pending_ = 0;
    due_();
  });
}

bool ClockPacer::Cancel() {
  if (!pending_) return false;
  CancelOccurrence(pending_);
  pending_ = 0;
  return true;
}

uint64_t ClockPacer::CatchUp() {
  const uint64_t unheard = Owed(Now());
  done_ += unheard;
  return unheard;
}

uint64_t ClockPacer::Owed(Time at) const {
  const uint64_t heard = ClockToSamples(at - origin_);
  return heard > done_ ? heard - done_ : 0;
}

uint32_t ClockPacer::HeardOfFront(const WAVEHDR *front) const {
  return static_cast<uint32_t>(std::min<uint64_t>(Owed(Now()), Samples(front)));
}

}  // namespace platform::wave
