#include "wave/LivePlayback.h"

#include <cstring>

#include "wave/SampleClock.h"

namespace platform::wave {

namespace {
// Room for a second ahead of the speaker, more than the program queues.
constexpr size_t kRingSamples = kRate;

uint64_t Samples(const WAVEHDR *h) { return h->dwBufferLength / 2; }
}  // namespace

LivePlayback::LivePlayback(LossCounter *underruns)
    : underruns_(underruns), ring_(kRingSamples), played_([this] { HandOver(); }) {}

std::unique_ptr<LivePlayback> LivePlayback::Open(const std::string &name, LossCounter *underruns, MMRESULT *result,
                                                 std::string *error) {
  std::unique_ptr<LivePlayback> driver(new LivePlayback(underruns));
  driver->sdl_ = OpenSdlAudio(false, name, &LivePlayback::Callback, driver.get(), result, error);
  if (!driver->sdl_) return nullptr;
  return driver;
}

// A device that never opened is not SDL's to close: closing it would quit
// SDL's audio once more than it was started, under any device still open.
LivePlayback::~LivePlayback() {
  if (sdl_) CloseSdlAudio(sdl_, false);
}

void LivePlayback::OnWritten() {
  // Also completes a buffer with nothing to play at once.
  HandOver();
  // Counted once in the ring, so the audio thread never takes it for late.
  written_.store(written_.load(std::memory_order_relaxed) + Samples(device_->Queue().back()),
                 std::memory_order_release);
  if (!running_) PauseSdlAudio(sdl_, false);
  running_ = true;
}

// SDL's audio thread.
void LivePlayback::Callback(void *user, Uint8 *stream, int bytes) {
  static_cast<LivePlayback *>(user)->Play(stream, static_cast<size_t>(bytes) / 2);
}

void LivePlayback::Play(Uint8 *out, size_t count) {
  const size_t k = ring_.Read(out, count);
  const uint64_t taken = taken_.load(std::memory_order_relaxed) + k;
  taken_.store(taken, std::memory_order_release);
  if (k == count) {
    played_.Raise();
    return;
  }
  std::memset(out + 2 * k, 0, 2 * (count - k));
  const bool owed = taken < written_.load(std::memory_order_acquire);
  if (owed) underruns_->Add(count - k);
  if (k > 0 || owed) played_.Raise();
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
      const size_t n = ring_.Write(h->lpData + 2 * offset, static_cast<size_t>(end - fed_));
      fed_ += n;
      if (fed_ < end) return;
    }
    start = end;
  }
}

void LivePlayback::OnReset() {
  PauseSdlAudio(sdl_, true);
  running_ = false;
  ring_.Clear();
  written_ = 0;
  taken_ = 0;
  frontStart_ = 0;
  fed_ = 0;
}

}  // namespace platform::wave
