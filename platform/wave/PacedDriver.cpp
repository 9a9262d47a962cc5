#include "wave/PacedDriver.h"

#include <algorithm>

#include "wave/SampleClock.h"

namespace platform::wave {

PacedDriver::~PacedDriver() { CancelFront(); }

void PacedDriver::BeginRun() {
  origin_ = Now();
  done_ = 0;
}

void PacedDriver::ScheduleFront() {
  if (device_->Queue().empty()) return;
  pending_ = ScheduleAt(origin_ + SamplesToClock(done_ + Samples(device_->Queue().front())), [this] {
    pending_ = 0;
    FrontDue();
  });
}

bool PacedDriver::CancelFront() {
  if (!pending_) return false;
  CancelOccurrence(pending_);
  pending_ = 0;
  return true;
}

uint32_t PacedDriver::HeardOfFront(const WAVEHDR *front) const {
  const uint64_t heard = ClockToSamples(Now() - origin_);
  return static_cast<uint32_t>(std::min<uint64_t>(heard > done_ ? heard - done_ : 0, Samples(front)));
}

}  // namespace platform::wave
