#include "wave/LiveCapture.h"

#include <iterator>

#include "base/SoundFormat.h"

namespace platform::wave {

// SDL's audio thread.
void LiveCapture::Exchange(Uint8 *stream, size_t n) {
  const size_t kept = ring_.Write(stream, n);
  if (kept < n) losses_->Add(n - kept);
  signal_.Raise();
}

// The program thread, inside a platform wait.
void LiveCapture::HandOver() {
  while (!device_->Queue().empty()) {
    WAVEHDR *h = device_->Queue().front();
    const uint32_t capacity = Samples(h);
    char *unfilled = h->lpData + drovane::kBytesPerSample * frontFill_;
    frontFill_ += static_cast<uint32_t>(ring_.Read(unfilled, capacity - frontFill_));
    if (frontFill_ < capacity) return;
    frontFill_ = 0;
    device_->CompleteFront(capacity * drovane::kBytesPerSample);
  }
  // Nothing queued to take it: dropped, as the microphone's sound is.
  int16_t scrap[512];
  uint64_t dropped = 0;
  while (size_t n = ring_.Read(scrap, std::size(scrap))) dropped += n;
  if (dropped) losses_->Add(dropped);
}

uint32_t LiveCapture::OnReset() {
  Pause(true);
  ring_.Clear();
  const uint32_t recorded = frontFill_ * drovane::kBytesPerSample;
  frontFill_ = 0;
  return recorded;
}

}  // namespace platform::wave
