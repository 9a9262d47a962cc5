#include "wave/WaveInDevice.h"

#include "win/kernel.h"

namespace platform::wave {

WaveInDevice::WaveInDevice(HANDLE event, std::unique_ptr<CaptureDriver> driver)
    : event_(event), driver_(std::move(driver)) {
  driver_->Attach(this);
}

void WaveInDevice::Add(WAVEHDR *header) {
  header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
  header->dwBytesRecorded = 0;
  queue_.push_back(header);
  driver_->OnAdded();
}

void WaveInDevice::Start() {
  if (started_) return;
  started_ = true;
  driver_->OnStart();
}

void WaveInDevice::Reset() {
  const uint32_t front = started_ ? driver_->OnReset() : 0;
  started_ = false;
  if (!queue_.empty()) CompleteFront(front);
  while (!queue_.empty()) CompleteFront(0);
}

void WaveInDevice::CompleteFront(uint32_t bytes) {
  WAVEHDR *h = queue_.front();
  queue_.pop_front();
  h->dwBytesRecorded = bytes;
  h->dwFlags = (h->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
  if (event_) SetEvent(event_);
}

}  // namespace platform::wave
