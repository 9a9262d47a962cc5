#include "kernel/VirtualClock.h"

namespace platform {

bool VirtualClock::WaitUntil(std::unique_lock<std::mutex> &, WakeSignal &, std::optional<Time> until) {
  if (!until) return false;
  if (*until > now_) now_ = *until;
  return true;
}

}  // namespace platform
