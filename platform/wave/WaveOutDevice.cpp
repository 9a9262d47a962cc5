#include "wave/WaveOutDevice.h"

#include "win/kernel.h"

namespace platform::wave {

WaveOutDevice::WaveOutDevice(HANDLE event, std::unique_ptr<PlaybackDriver> driver)
    : event_(event), driver_(std::move(driver)) {
  driver_->Attach(this);
}

void WaveOutDevice::Write(WAVEHDR *header) {
  header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
  queue_.push_back(header);
  driver_->OnWritten();
}

void WaveOutDevice::Reset() {
  driver_->OnReset();
  while (!queue_.empty()) CompleteFront();
}

void WaveOutDevice::CompleteFront() {
  WAVEHDR *h = queue_.front();
  queue_.pop_front();
  h->dwFlags = (h->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
  if (event_) SetEvent(event_);
}

}  // namespace platform::wave
