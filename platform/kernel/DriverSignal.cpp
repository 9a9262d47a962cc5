#include "kernel/DriverSignal.h"

#include "kernel/Core.h"

namespace platform {

DriverSignal::DriverSignal(std::function<void()> action) : action_(std::move(action)) {
  Core &core = Core::Get();
  std::lock_guard lock(core.mutex);
  core.AddSignal(this);
}

DriverSignal::~DriverSignal() {
  Core &core = Core::Get();
  std::lock_guard lock(core.mutex);
  core.RemoveSignal(this);
}

void DriverSignal::Raise() {
  // The release pairs with TakeRaised: whatever the driver wrote before
  // raising is seen by the action.
  raised_.store(true, std::memory_order_release);
  Core::Get().wake.Notify();
}

}  // namespace platform
