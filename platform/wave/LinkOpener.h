#pragma once

#include <functional>
#include <memory>
#include <string>

#include "kernel/DriverSignal.h"
#include "wave/AudioWorker.h"
#include "wave/DeviceQueue.h"
#include "wave/LiveEndpoint.h"
#include "wave/LiveLink.h"
#include "win/wave.h"

namespace platform::wave {

class LinkCloser;

// The open of a live link on an audio worker, whose outcome comes back to
// the program thread: waited for at most a bound, or, once nobody waits,
// announced by a signal when it ends. Cancelled when its driver goes first:
// the worker then closes the link it made. One open at a time. Program
// thread, but for the job on the worker.
class LinkOpener {
 public:
  struct Outcome {
    std::unique_ptr<LiveLink> link;  // null when it did not open
    MMRESULT result = MMSYSERR_NOERROR;
    std::string error;
  };

  // `ended` runs on the program thread, inside a platform wait, when an
  // open ends; an open already taken by Wait and Take does not call it. A
  // link of an open given up is closed by `closer`, which outlives it.
  LinkOpener(LinkCloser &closer, Direction direction, std::function<void()> ended);
  ~LinkOpener() { Cancel(); }
  LinkOpener(const LinkOpener &) = delete;
  LinkOpener &operator=(const LinkOpener &) = delete;

  // Opens a link to `endpoint` for `client` on `worker`.
  void Start(const LiveEndpoint &endpoint, const SdlAudio &sdl, LinkClient *client, AudioWorker &worker);
  bool Pending() const { return static_cast<bool>(opening_); }
  // Waits for the open at most until `deadline`; whether it ended.
  bool Wait(AudioWorker::Deadline deadline);
  // The outcome of an open that ended, taken once; false while it goes on
  // (or when none was started).
  bool Take(Outcome *outcome);
  // Gives the open up: a link it made, or makes later, is closed on the
  // worker.
  void Cancel();

 private:
  struct Opening;

  LinkCloser &closer_;
  const Direction direction_;
  std::shared_ptr<Opening> opening_;
  uint64_t ticket_ = 0;
  AudioWorker *worker_ = nullptr;
  DriverSignal ended_;
};

}  // namespace platform::wave
