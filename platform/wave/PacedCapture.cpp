#include "wave/PacedCapture.h"

#include <algorithm>
#include <cstring>

#include "wave/SampleClock.h"

namespace platform::wave {

PacedCapture::~PacedCapture() {
  if (pending_) CancelOccurrence(pending_);
}

void PacedCapture::OnStart() {
  origin_ = Now();
  position_ = 0;
  ScheduleFront();
}

void PacedCapture::OnAdded() {
  if (!device_->Started() || pending_) return;
  CatchUp();
  ScheduleFront();
}

// The queue ran dry for a while: what was heard meanwhile is lost.
void PacedCapture::CatchUp() {
  const uint64_t heard = ClockToSamples(Now() - origin_);
  if (heard <= position_) return;
  source_->Skip(heard - position_);
  position_ = heard;
}

void PacedCapture::ScheduleFront() {
  if (device_->Queue().empty()) return;
  const uint64_t n = device_->Queue().front()->dwBufferLength / 2;
  pending_ = ScheduleAt(origin_ + SamplesToClock(position_ + n), [this] { FillFront(); });
}

void PacedCapture::FillFront() {
  pending_ = 0;
  WAVEHDR *h = device_->Queue().front();
  const uint32_t n = h->dwBufferLength / 2;
  ReadInto(h->lpData, n);
  device_->CompleteFront(n * 2);
  ScheduleFront();
}

uint32_t PacedCapture::OnReset() {
  if (pending_) CancelOccurrence(pending_);
  pending_ = 0;
  if (device_->Queue().empty()) return 0;
  WAVEHDR *h = device_->Queue().front();
  const uint64_t heard = ClockToSamples(Now() - origin_);
  const auto n = static_cast<uint32_t>(std::min<uint64_t>(heard > position_ ? heard - position_ : 0,
                                                          h->dwBufferLength / 2));
  ReadInto(h->lpData, n);
  return n * 2;
}

// Straight into an aligned buffer, in one read (a file source reads the file
// once per call); otherwise through a scratch block.
void PacedCapture::ReadInto(char *out, uint32_t n) {
  if (reinterpret_cast<uintptr_t>(out) % alignof(int16_t) == 0) {
    source_->Read(reinterpret_cast<int16_t *>(out), n);
    position_ += n;
    return;
  }
  int16_t scratch[1024];
  for (uint32_t done = 0; done < n;) {
    const uint32_t k = std::min<uint32_t>(n - done, 1024);
    source_->Read(scratch, k);
    std::memcpy(out + 2 * done, scratch, 2 * k);
    done += k;
  }
  position_ += n;
}

}  // namespace platform::wave
