#include "wave/LiveCapture.h"

#include <iterator>

#include "wave/SampleClock.h"

namespace platform::wave {

namespace {
// Room for the sound of a second while the program thread is busy elsewhere.
constexpr size_t kRingSamples = kRate;
}  // namespace

LiveCapture::LiveCapture(LossCounter *overruns)
    : overruns_(overruns), ring_(kRingSamples), arrived_([this] { HandOver(); }) {}

std::unique_ptr<LiveCapture> LiveCapture::Open(const std::string &name, LossCounter *overruns, MMRESULT *result,
                                               std::string *error) {
  std::unique_ptr<LiveCapture> driver(new LiveCapture(overruns));
  driver->sdl_ = OpenSdlAudio(true, name, &LiveCapture::Callback, driver.get(), result, error);
  if (!driver->sdl_) return nullptr;
  return driver;
}

// A device that never opened is not SDL's to close: closing it would quit
// SDL's audio once more than it was started, under any device still open.
LiveCapture::~LiveCapture() {
  if (sdl_) CloseSdlAudio(sdl_, true);
}

void LiveCapture::OnStart() { PauseSdlAudio(sdl_, false); }

// SDL's audio thread.
void LiveCapture::Callback(void *user, Uint8 *stream, int bytes) {
  auto *self = static_cast<LiveCapture *>(user);
  const size_t n = static_cast<size_t>(bytes) / 2;
  const size_t kept = self->ring_.Write(stream, n);
  if (kept < n) self->overruns_->Add(n - kept);
  self->arrived_.Raise();
}

// The program thread, inside a platform wait.
void LiveCapture::HandOver() {
  while (!device_->Queue().empty()) {
    WAVEHDR *h = device_->Queue().front();
    const uint32_t capacity = h->dwBufferLength / 2;
    frontFill_ += static_cast<uint32_t>(ring_.Read(h->lpData + 2 * frontFill_, capacity - frontFill_));
    if (frontFill_ < capacity) return;
    frontFill_ = 0;
    device_->CompleteFront(capacity * 2);
  }
  // Nothing queued to take it: dropped, as the microphone's sound is.
  int16_t scrap[512];
  uint64_t dropped = 0;
  while (size_t n = ring_.Read(scrap, std::size(scrap))) dropped += n;
  if (dropped) overruns_->Add(dropped);
}

uint32_t LiveCapture::OnReset() {
  PauseSdlAudio(sdl_, true);
  ring_.Clear();
  const uint32_t recorded = frontFill_ * 2;
  frontFill_ = 0;
  return recorded;
}

}  // namespace platform::wave
