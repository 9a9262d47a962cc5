#include "kernel/Platform.h"

#include "kernel/Core.h"
#include "phone/Phone.h"

namespace platform {

Time Now() {
  Core &core = Phone::ForAnyThread().Kernel();
  std::lock_guard lock(core.mutex);
  return core.Now();
}

OccurrenceId ScheduleAt(Time when, std::function<void()> action) {
  Core &core = Phone::ForAnyThread().Kernel();
  OccurrenceId id;
  {
    std::lock_guard lock(core.mutex);
    id = core.scheduler.Add(when, std::move(action));
  }
  core.wake.Notify();
  return id;
}

bool CancelOccurrence(OccurrenceId id) {
  Core &core = Phone::ForAnyThread().Kernel();
  std::lock_guard lock(core.mutex);
  return core.scheduler.Cancel(id);
}

void FailCall(std::string_view operation, unsigned nth, uintptr_t result) {
  Core &core = Phone::ForAnyThread().Kernel();
  std::lock_guard lock(core.mutex);
  core.faults.Plan(operation, nth, result);
}

bool InjectedFailure(std::string_view operation, uintptr_t *result) {
  Phone *phone = Phone::Running();
  if (!phone) return false;
  Core &core = phone->Kernel();
  std::lock_guard lock(core.mutex);
  return core.faults.Take(operation, result);
}

uint64_t BlockedWaitCount() {
  Core &core = Phone::ForAnyThread().Kernel();
  std::lock_guard lock(core.mutex);
  return core.blockedWaits;
}

void SetIdleHook(std::function<void()> hook) {
  Core &core = Phone::ForProgramThread().Kernel();
  std::lock_guard lock(core.mutex);
  core.idleHook = std::move(hook);
}

}  // namespace platform
