#include "wave/PacedCapture.h"

#include <algorithm>
#include <cstring>

#include "base/SoundFormat.h"

namespace platform::wave {

void PacedCapture::OnStart() {
  pacer_.Begin(Now());
  pacer_.Schedule(*device_);
}

// The queue ran dry for a while: what was heard meanwhile is lost.
void PacedCapture::OnQueued() {
  if (!device_->Started() || pacer_.Scheduled()) return;
  if (const uint64_t unheard = pacer_.CatchUp()) stream_->Skip(unheard);
  pacer_.Schedule(*device_);
}

void PacedCapture::FrontDue() {
  WAVEHDR *h = device_->Queue().front();
  const uint32_t n = Samples(h);
  ReadInto(h->lpData, n);
  pacer_.Complete(n);
  device_->CompleteFront(n * drovane::kBytesPerSample);
  pacer_.Schedule(*device_);
}

uint32_t PacedCapture::OnReset() {
  pacer_.Cancel();
  if (device_->Queue().empty()) return 0;
  WAVEHDR *h = device_->Queue().front();
  const uint32_t n = pacer_.HeardOfFront(h);
  ReadInto(h->lpData, n);
  return n * drovane::kBytesPerSample;
}

// Straight into an aligned buffer, in one read (a recording from a file
// reads the file once per call); otherwise through a scratch block.
void PacedCapture::ReadInto(char *out, uint32_t n) {
  if (reinterpret_cast<uintptr_t>(out) % alignof(int16_t) == 0) {
    stream_->Read(reinterpret_cast<int16_t *>(out), n);
    return;
  }
  int16_t scratch[1024];
  for (uint32_t done = 0; done < n;) {
    const uint32_t k = std::min<uint32_t>(n - done, 1024);
    stream_->Read(scratch, k);
    std::memcpy(out + drovane::kBytesPerSample * done, scratch, drovane::kBytesPerSample * k);
    done += k;
  }
}

}  // namespace platform::wave
