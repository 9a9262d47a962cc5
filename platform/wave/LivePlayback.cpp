#include "wave/LivePlayback.h"

#include <cstring>

#include "base/SoundFormat.h"

namespace platform::wave {

void LivePlayback::OnQueued() {
  // Also completes a buffer with nothing to play at once.
  HandOver();
  // Counted once in the ring, so the audio thread never takes it for late.
  written_.store(written_.load(std::memory_order_relaxed) + Samples(device_->Queue().back()),
                 std::memory_order_release);
  if (!running_) Pause(false);
  running_ = true;
}

// SDL's audio thread.
void LivePlayback::Exchange(Uint8 *out, size_t count) {
  const size_t k = ring_.Read(out, count);
  const uint64_t taken = taken_.load(std::memory_order_relaxed) + k;
  taken_.store(taken, std::memory_order_release);
  if (k == count) {
    signal_.Raise();
    return;
  }
  std::memset(out + drovane::kBytesPerSample * k, 0, drovane::kBytesPerSample * (count - k));
  const bool owed = taken < written_.load(std::memory_order_acquire);
  if (owed) losses_->Add(count - k);
  if (k > 0 || owed) signal_.Raise();
}

// The program thread, inside a platform wait (or a write).
void LivePlayback::HandOver() {
  const uint64_t taken = taken_.load(std::memory_order_acquire);
  while (!device_->Queue().empty() && frontStart_ + Samples(device_->Queue().front()) <= taken) {
    frontStart_ += Samples(device_->Queue().front());
    device_->CompleteFront();
  }
  Feed();
}

// Copies the written sound that is not in the ring yet, as far as it fits.
void LivePlayback::Feed() {
  uint64_t start = frontStart_;
  for (const WAVEHDR *h : device_->Queue()) {
    const uint64_t end = start + Samples(h);
    if (fed_ < end) {
      const uint64_t offset = fed_ - start;
      const size_t n = ring_.Write(h->lpData + drovane::kBytesPerSample * offset, static_cast<size_t>(end - fed_));
      fed_ += n;
      if (fed_ < end) return;
    }
    start = end;
  }
}

uint32_t LivePlayback::OnReset() {
  Pause(true);
  running_ = false;
  ring_.Clear();
  written_ = 0;
  taken_ = 0;
  frontStart_ = 0;
  fed_ = 0;
  return 0;
}

}  // namespace platform::wave
