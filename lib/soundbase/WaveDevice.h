#pragma once

#include <cstdint>
#include <deque>

#include "general/CheckSites.h"
#include "general/RCPtr.h"
#include "general/TSmartHandle.h"
#include "win/wave.h"

// The life of a wave device; the numbers are the ones State() has always
// reported.
namespace WaveState {
enum Value : int32_t { kClosed = 0, kOpen = 1, kRunning = 2, kStopping = 3 };
}

// What capture and playback share: the device handle, the state and the
// buffers handed to the device, oldest first, with how buffers are handed
// over and taken back. `Calls` is one direction: its handle and buffer types,
// its platform calls and the check site of each step (CaptureCalls in
// WaveIn.h, PlaybackCalls in WaveOut.h). When to open, start and send is the
// direction's own. Program thread only; every failure is a recorded check.
template <class Calls>
class WaveDevice {
 public:
  using Buffer = typename Calls::Buffer;

  WaveDevice() = default;
  WaveDevice(const WaveDevice &) = delete;
  WaveDevice &operator=(const WaveDevice &) = delete;
  ~WaveDevice() { Close(); }

  // Opens device 0, closing any handle held before; open on success.
  void Open(const WAVEFORMATEX *format, DWORD_PTR callback, DWORD flags) {
    handle_.Reset();
    const MMRESULT r = Calls::Open(handle_.Put(), 0, format, callback, 0, flags);
    if (Check(r == MMSYSERR_NOERROR, Calls::kOpenFailed)) state_ = WaveState::kOpen;
  }

  // Prepares the buffer and hands it to the device, then queues it. A buffer
  // the device refuses is dropped (and unprepared again).
  void Send(RCPtr<Buffer> buffer) {
    WAVEHDR *h = buffer->Header();
    if (!Check(Calls::Prepare(handle_.Get(), h, sizeof(WAVEHDR)) == MMSYSERR_NOERROR, Calls::kPrepareFailed)) return;
    if (!Check(Calls::Send(handle_.Get(), h, sizeof(WAVEHDR)) == MMSYSERR_NOERROR, Calls::kSendFailed)) {
      Calls::Unprepare(handle_.Get(), h, sizeof(WAVEHDR));
      return;
    }
    queue_.push_back(std::move(buffer));
  }

  // The front buffer, off the queue, once the device has finished it; else
  // null. Buffers finish in the order they were sent.
  RCPtr<Buffer> TakeFinished() {
    if (queue_.empty() || !(queue_.front()->Header()->dwFlags & WHDR_DONE)) return nullptr;
    RCPtr<Buffer> front = std::move(queue_.front());
    queue_.pop_front();
    return front;
  }

  void Started() { state_ = WaveState::kRunning; }

  // Running only. The reset returns every buffer; each is unprepared, oldest
  // first. A refused call leaves the device stopping with the rest queued.
  void Stop() {
    if (!Check(state_ == WaveState::kRunning, Calls::kStopNotRunning)) return;
    state_ = WaveState::kStopping;
    if (!Check(Calls::Reset(handle_.Get()) == MMSYSERR_NOERROR, Calls::kResetFailed)) return;
    while (!queue_.empty()) {
      const MMRESULT r = Calls::Unprepare(handle_.Get(), queue_.front()->Header(), sizeof(WAVEHDR));
      if (!Check(r == MMSYSERR_NOERROR, Calls::kUnprepareFailed)) return;
      queue_.pop_front();
    }
    state_ = WaveState::kOpen;
  }

  // Stops a running device and closes it. Buffers still queued after a failed
  // start or stop are in the device's hands: they are taken back before they
  // are freed, or the device would use freed memory and refuse to close.
  void Close() {
    if (state_ == WaveState::kRunning) Stop();
    if (!queue_.empty()) {
      Calls::Reset(handle_.Get());
      for (RCPtr<Buffer> &buffer : queue_) Calls::Unprepare(handle_.Get(), buffer->Header(), sizeof(WAVEHDR));
      queue_.clear();
    }
    handle_.Reset();
    state_ = WaveState::kClosed;
  }

  WaveState::Value State() const { return state_; }
  typename Calls::Handle Handle() const { return handle_.Get(); }
  const std::deque<RCPtr<Buffer>> &Queue() const { return queue_; }

 private:
  WaveState::Value state_ = WaveState::kClosed;
  TSmartHandle<typename Calls::Handle, decltype(Calls::Close), Calls::Close> handle_;
  std::deque<RCPtr<Buffer>> queue_;
};
