#include "kernel/Platform.h"

#include "kernel/Core.h"

namespace platform {

void Reset(ClockKind kind) { Core::Get().Reset(kind); }

Time Now() {
  Core &core = Core::Get();
  std::lock_guard lock(core.mutex);
  return core.Now();
}

OccurrenceId ScheduleAt(Time when, std::function<void()> action) {
  Core &core = Core::Get();
  OccurrenceId id;
  {
    std::lock_guard lock(core.mutex);
    id = core.scheduler.Add(when, std::move(action));
  }
  core.wake.Notify();
  return id;
}

bool CancelOccurrence(OccurrenceId id) {
  Core &core = Core::Get();
  std::lock_guard lock(core.mutex);
  return core.scheduler.Cancel(id);
}

void FailCall(std::string_view operation, unsigned nth, uintptr_t result) {
  Core &core = Core::Get();
  std::lock_guard lock(core.mutex);
  core.faults.Plan(operation, nth, result);
}

bool InjectedFailure(std::string_view operation, uintptr_t *result) {
  Core &core = Core::Get();
  std::lock_guard lock(core.mutex);
  return core.faults.Take(operation, result);
}

uint64_t BlockedWaitCount() {
  Core &core = Core::Get();
  std::lock_guard lock(core.mutex);
  return core.blockedWaits;
}

void SetIdleHook(std::function<void()> hook) {
  Core &core = Core::Get();
  std::lock_guard lock(core.mutex);
  core.idleHook = std::move(hook);
}

}  // namespace platform
