#include "wave/LivePlayback.h"

#include <algorithm>
#include <cstring>

namespace platform::wave {

std::unique_ptr<LivePlayback> LivePlayback::Open(MMRESULT *result, std::string *error) {
  std::unique_ptr<LivePlayback> driver(new LivePlayback);
  driver->sdl_ = OpenSdlAudio(false, &LivePlayback::Callback, driver.get(), result, error);
  if (!driver->sdl_) return nullptr;
  return driver;
}

void LivePlayback::OnAbandoned() {
  std::lock_guard lock(mutex_);
  abandoned_ = true;
  handOverPending_ = false;  // its id went with the reset
}

LivePlayback::~LivePlayback() {
  CloseSdlAudio(sdl_);
  std::lock_guard lock(mutex_);
  if (handOverPending_) CancelOccurrence(handOverId_);
}

void LivePlayback::OnWritten() {
  const WAVEHDR *h = device_->Queue().back();
  const size_t n = h->dwBufferLength / 2;
  {
    std::lock_guard lock(mutex_);
    // Played samples are dropped from the front before the block grows.
    samples_.erase(samples_.begin(), samples_.begin() + static_cast<std::ptrdiff_t>(readAt_));
    for (size_t &end : bufferEnds_) end -= readAt_;
    readAt_ = 0;
    const size_t old = samples_.size();
    samples_.resize(old + n);
    std::memcpy(samples_.data() + old, h->lpData, 2 * n);
    bufferEnds_.push_back(old + n);
  }
  if (!running_) PauseSdlAudio(sdl_, false);
  running_ = true;
}

// SDL's audio thread.
void LivePlayback::Callback(void *user, Uint8 *stream, int bytes) {
  auto *self = static_cast<LivePlayback *>(user);
  self->Play(reinterpret_cast<int16_t *>(stream), static_cast<size_t>(bytes) / 2);
}

void LivePlayback::Play(int16_t *out, size_t count) {
  bool schedule = false;
  {
    std::lock_guard lock(mutex_);
    const size_t k = std::min(count, samples_.size() - readAt_);
    std::memcpy(out, samples_.data() + readAt_, 2 * k);
    std::fill(out + k, out + count, int16_t(0));
    readAt_ += k;
    while (!bufferEnds_.empty() && bufferEnds_.front() <= readAt_) {
      bufferEnds_.pop_front();
      ++finished_;
    }
    schedule = finished_ > 0 && !handOverPending_;
    if (schedule) handOverPending_ = true;
  }
  if (!schedule) return;
  const OccurrenceId id = ScheduleAt(Now(), [this] { HandOver(); });
  std::lock_guard lock(mutex_);
  handOverId_ = id;
}

// The program thread, inside a platform wait.
void LivePlayback::HandOver() {
  size_t finished;
  {
    std::lock_guard lock(mutex_);
    if (abandoned_) return;
    finished = finished_;
    finished_ = 0;
    handOverPending_ = false;
  }
  for (; finished > 0 && !device_->Queue().empty(); --finished) device_->CompleteFront();
}

void LivePlayback::OnReset() {
  PauseSdlAudio(sdl_, true);
  running_ = false;
  std::lock_guard lock(mutex_);
  samples_.clear();
  readAt_ = 0;
  bufferEnds_.clear();
  finished_ = 0;
}

}  // namespace platform::wave
