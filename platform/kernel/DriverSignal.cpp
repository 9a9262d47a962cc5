#include "kernel/DriverSignal.h"

#include "kernel/Core.h"
#include "phone/Phone.h"

namespace platform {

DriverSignal::DriverSignal(std::function<void()> action)
    : action_(std::move(action)), core_(Phone::ForProgramThread().Kernel()) {
  std::lock_guard lock(core_.mutex);
  core_.AddSignal(this);
}

DriverSignal::~DriverSignal() {
  std::lock_guard lock(core_.mutex);
  core_.RemoveSignal(this);
}

void DriverSignal::Raise() {
  // The release pairs with TakeRaised: whatever the driver wrote before
  // raising is seen by the action.
  raised_.store(true, std::memory_order_release);
  core_.wake.Notify();
}

}  // namespace platform
