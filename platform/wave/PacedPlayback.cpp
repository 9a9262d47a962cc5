#include "wave/PacedPlayback.h"

#include <algorithm>
#include <cstring>

#include "base/SoundFormat.h"

namespace platform::wave {

void PacedPlayback::OnQueued() {
  if (pacer_.Scheduled()) return;  // the new buffer waits its turn
  pacer_.Begin(Now());
  pacer_.Schedule(*device_);
}

void PacedPlayback::FrontDue() {
  const WAVEHDR *h = device_->Queue().front();
  Emit(h->lpData, Samples(h));
  pacer_.Complete(Samples(h));
  device_->CompleteFront();
  pacer_.Schedule(*device_);
}

// The front buffer is cut short where playing has got to.
uint32_t PacedPlayback::OnReset() {
  if (!pacer_.Cancel()) return 0;
  const WAVEHDR *h = device_->Queue().front();
  Emit(h->lpData, pacer_.HeardOfFront(h));
  return 0;
}

// Through a scratch block: the caller's buffer need not be aligned for samples.
void PacedPlayback::Emit(const char *data, uint64_t samples) {
  int16_t scratch[1024];
  for (uint64_t done = 0; done < samples;) {
    const uint64_t k = std::min<uint64_t>(samples - done, 1024);
    std::memcpy(scratch, data + drovane::kBytesPerSample * done, drovane::kBytesPerSample * k);
    sink_->Play(scratch, k);
    done += k;
  }
}

}  // namespace platform::wave
