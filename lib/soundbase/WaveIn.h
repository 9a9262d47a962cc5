#pragma once

#include <vector>

#include "WaveDevice.h"
#include "WaveHeaderMM.h"
#include "WaveSource.h"
#include "filters/IMediaSample.h"
#include "general/DelegateRC.h"
#include "general/UninitResident.h"
#include "win/wave.h"

// What a capture device calls. The sample handler is required and borrows
// each filled buffer for the call (keep an RCPtr to hold on to it).
struct WaveInHandlers {
  DelegateRC<void(AV::IMediaSample *)> sample;
};

// The capture direction of WaveDevice.
struct CaptureCalls {
  using Handle = HWAVEIN;
  using Buffer = WaveHeaderMM;
  static constexpr auto Open = waveInOpen;
  static constexpr auto Prepare = waveInPrepareHeader;
  static constexpr auto Send = waveInAddBuffer;
  static constexpr auto Unprepare = waveInUnprepareHeader;
  static constexpr auto Reset = waveInReset;
  static constexpr auto Close = waveInClose;
  static constexpr const CheckSite &kOpenFailed = CheckSites::kCaptureOpenFailed;
  static constexpr const CheckSite &kPrepareFailed = CheckSites::kCapturePrepareFailed;
  static constexpr const CheckSite &kSendFailed = CheckSites::kCaptureAddBufferFailed;
  static constexpr const CheckSite &kStopNotRunning = CheckSites::kCaptureStopNotCapturing;
  static constexpr const CheckSite &kResetFailed = CheckSites::kCaptureResetFailed;
  static constexpr const CheckSite &kUnprepareFailed = CheckSites::kCaptureUnprepareFailed;
};

// Records from wave-input device 0 in a steady stream of fixed-length
// buffers, keeping `queueSeconds` of them queued, and hands every filled
// buffer, in order and exactly once, to the sample handler.
//
// Thread: the program thread only. The device marks buffers done on its own
// and signals the notify event; the owner calls ProcessEvent when it sees
// that event. Failures are contract checks (file "WaveIn"); nothing is
// thrown. Lifetime: registered with the tear-down root given at
// construction, whose uninit pass stops and closes the device and whose
// release pass unbinds the handlers; destruction stops and closes it too.
class WaveIn : public virtual CRefCounter {
 public:
  WaveIn(UninitCaller *root, double queueSeconds, double bufferMs);
  WaveIn(const WaveIn &) = delete;
  WaveIn &operator=(const WaveIn &) = delete;

  // The event the device signals when buffers are done; set before Init.
  void SetNotifyEvent(HANDLE event) { notifyEvent_ = event; }
  // Opens the device in `format` (closed only; the sample handler must be bound).
  void Init(const WaveInHandlers &handlers, const WAVEFORMATEX *format);
  // Position back to 0 (before the first Start).
  void ResetPosition();
  // Queues the buffers and starts recording (open and idle only).
  void Start();
  // Stops recording and takes every buffer back unheard (capturing only).
  void Stop() { device_.Stop(); }
  // Takes the finished buffers from the front of the queue, queues as many
  // new ones, then hands the finished ones on, oldest first.
  void ProcessEvent();
  // Tear-down: stops if capturing and closes the device.
  void Uninit() { device_.Close(); }

  WaveState::Value State() const { return device_.State(); }
  const WaveSource2 &Position() const { return position_; }
  const std::deque<RCPtr<WaveHeaderMM>> &Queue() const { return device_.Queue(); }

 private:
  void AddHeader();
  void ReleaseHandlers();

  HANDLE notifyEvent_ = nullptr;
  WaveDevice<CaptureCalls> device_;
  WaveSource2 position_;
  double queueDuration_;   // seconds
  double bufferDuration_;  // milliseconds
  // The handler set, counted: ProcessEvent holds the set it is calling, so
  // a handler may replace the device's set (tear-down does) meanwhile, and
  // no set is copied per buffer.
  struct HandlerSet : virtual CRefCounter {
    explicit HandlerSet(const WaveInHandlers &h) : handlers(h) {}
    WaveInHandlers handlers;
  };

  RCPtr<HandlerSet> handlers_;
  std::vector<RCPtr<WaveHeaderMM>> spareList_;  // capacity for ProcessEvent's list
  UninitResident resident_;
};
