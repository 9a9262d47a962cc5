#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "wave/AudioWorker.h"
#include "wave/DeviceQueue.h"
#include "wave/LiveLink.h"

namespace platform::wave {

// Closes the live links of a phone on their audio workers, where a close may
// wait on its sound server, and at the phone's end waits for them at most a
// bound before going on without them. Program thread.
class LinkCloser {
 public:
  // Closes `link` (stopped) on `worker`, one of the phone's.
  void Close(std::unique_ptr<LiveLink> link, Direction direction, AudioWorker &worker);
  // Waits until every close so far has finished, at most `bound` from the
  // first call; says once on stderr which did not, and returns false then.
  // (An open left to finish on a worker is not waited for: whoever left it
  // has said so, and its link is closed there when it ends.)
  bool Settle(std::chrono::milliseconds bound);

 private:
  struct Pending {
    AudioWorker *worker;
    uint64_t ticket;
    Direction direction;
  };

  std::vector<Pending> pending_;
  std::optional<AudioWorker::Deadline> deadline_;
  bool told_ = false;
};

}  // namespace platform::wave
