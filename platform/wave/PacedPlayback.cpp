#include "wave/PacedPlayback.h"

#include <algorithm>
#include <cstring>

#include "wave/SampleClock.h"

namespace platform::wave {

PacedPlayback::~PacedPlayback() {
  if (pending_) CancelOccurrence(pending_);
}

void PacedPlayback::OnWritten() {
  if (pending_) return;  // the new buffer waits its turn
  origin_ = Now();
  played_ = 0;
  ScheduleFront();
}

void PacedPlayback::ScheduleFront() {
  if (device_->Queue().empty()) return;
  const uint64_t n = device_->Queue().front()->dwBufferLength / 2;
  pending_ = ScheduleAt(origin_ + SamplesToClock(played_ + n), [this] { FinishFront(); });
}

void PacedPlayback::FinishFront() {
  pending_ = 0;
  const WAVEHDR *h = device_->Queue().front();
  const uint64_t n = h->dwBufferLength / 2;
  Emit(h->lpData, n);
  played_ += n;
  device_->CompleteFront();
  ScheduleFront();
}

// The front buffer is cut short where playing has got to.
void PacedPlayback::OnReset() {
  if (!pending_) return;
  CancelOccurrence(pending_);
  pending_ = 0;
  const WAVEHDR *h = device_->Queue().front();
  const uint64_t heard = ClockToSamples(Now() - origin_);
  const uint64_t n = std::min<uint64_t>(heard > played_ ? heard - played_ : 0, h->dwBufferLength / 2);
  Emit(h->lpData, n);
  played_ += n;
}

// Through a scratch block: the caller's buffer need not be aligned for samples.
void PacedPlayback::Emit(const char *data, uint64_t samples) {
  int16_t scratch[1024];
  for (uint64_t done = 0; done < samples;) {
    const uint64_t k = std::min<uint64_t>(samples - done, 1024);
    std::memcpy(scratch, data + 2 * done, 2 * k);
    sink_->Play(scratch, k);
    done += k;
  }
}

}  // namespace platform::wave
