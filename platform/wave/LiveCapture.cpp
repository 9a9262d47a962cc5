#include "wave/LiveCapture.h"

#include <algorithm>
#include <cstring>

#include "wave/SampleClock.h"

namespace platform::wave {

namespace {
// If the program stops taking data, at most this much waits for it.
constexpr size_t kMaxWaiting = 2 * kRate;
}  // namespace

std::unique_ptr<LiveCapture> LiveCapture::Open(MMRESULT *result, std::string *error) {
  std::unique_ptr<LiveCapture> driver(new LiveCapture);
  driver->sdl_ = OpenSdlAudio(true, &LiveCapture::Callback, driver.get(), result, error);
  if (!driver->sdl_) return nullptr;
  return driver;
}

void LiveCapture::OnAbandoned() {
  std::lock_guard lock(mutex_);
  abandoned_ = true;
  handOverPending_ = false;  // its id went with the reset
}

LiveCapture::~LiveCapture() {
  CloseSdlAudio(sdl_);
  std::lock_guard lock(mutex_);
  if (handOverPending_) CancelOccurrence(handOverId_);
}

void LiveCapture::OnStart() { PauseSdlAudio(sdl_, false); }

// SDL's audio thread.
void LiveCapture::Callback(void *user, Uint8 *stream, int bytes) {
  auto *self = static_cast<LiveCapture *>(user);
  const size_t n = static_cast<size_t>(bytes) / 2;
  bool schedule = false;
  {
    std::lock_guard lock(self->mutex_);
    const size_t room = kMaxWaiting - std::min(kMaxWaiting, self->incoming_.size());
    const size_t old = self->incoming_.size();
    self->incoming_.resize(old + std::min(n, room));
    std::memcpy(self->incoming_.data() + old, stream, 2 * std::min(n, room));
    schedule = !self->handOverPending_;
    self->handOverPending_ = true;
  }
  if (!schedule) return;
  const OccurrenceId id = ScheduleAt(Now(), [self] { self->HandOver(); });
  std::lock_guard lock(self->mutex_);
  self->handOverId_ = id;
}

// The program thread, inside a platform wait.
void LiveCapture::HandOver() {
  {
    std::lock_guard lock(mutex_);
    if (abandoned_) return;
    taken_.swap(incoming_);
    incoming_.clear();
    handOverPending_ = false;
  }
  size_t used = 0;
  while (used < taken_.size() && !device_->Queue().empty()) {
    WAVEHDR *h = device_->Queue().front();
    const uint32_t capacity = h->dwBufferLength / 2;
    const size_t k = std::min<size_t>(capacity - frontFill_, taken_.size() - used);
    std::memcpy(h->lpData + 2 * frontFill_, taken_.data() + used, 2 * k);
    used += k;
    frontFill_ += static_cast<uint32_t>(k);
    if (frontFill_ < capacity) break;
    frontFill_ = 0;
    device_->CompleteFront(capacity * 2);
  }
  taken_.clear();
}

uint32_t LiveCapture::OnReset() {
  PauseSdlAudio(sdl_, true);
  {
    std::lock_guard lock(mutex_);
    incoming_.clear();
  }
  const uint32_t recorded = frontFill_ * 2;
  frontFill_ = 0;
  return recorded;
}

}  // namespace platform::wave
