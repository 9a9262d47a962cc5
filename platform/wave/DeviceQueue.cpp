#include "wave/DeviceQueue.h"

#include "win/kernel.h"

namespace platform::wave {

DeviceQueue::DeviceQueue(Direction direction, HANDLE event, std::unique_ptr<WaveDriver> driver)
    : direction_(direction), event_(event), started_(direction == Direction::Playback), driver_(std::move(driver)) {
  driver_->Attach(this);
}

void DeviceQueue::Add(WAVEHDR *header) {
  header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
  if (direction_ == Direction::Capture) header->dwBytesRecorded = 0;
  queue_.push_back(header);
  driver_->OnQueued();
}

void DeviceQueue::Start() {
  if (started_) return;
  started_ = true;
  driver_->OnStart();
}

// Capture waits for the next start; playback plays whatever comes next.
void DeviceQueue::Reset() {
  uint32_t front = started_ ? driver_->OnReset() : 0;
  started_ = direction_ == Direction::Playback;
  for (; !queue_.empty(); front = 0) CompleteFront(front);
}

void DeviceQueue::CompleteFront(uint32_t bytes) {
  WAVEHDR *h = queue_.front();
  queue_.pop_front();
  if (direction_ == Direction::Capture) h->dwBytesRecorded = bytes;
  h->dwFlags = (h->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
  if (event_) SetEvent(event_);
}

}  // namespace platform::wave
