// The wait on events and the message queue.
#include "phone/Phone.h"
#include "user/UserState.h"

using platform::Core;
using platform::Phone;
using platform::EventTable;
using platform::Time;
using platform::UserState;

namespace {

// Any invalid handle fails the whole wait, as Win32 does, even if an earlier
// one is signalled. The lowest signalled index wins; auto-reset consumes.
bool CheckHandles(EventTable &events, DWORD count, const HANDLE *handles, DWORD *result) {
  EventTable::Event *found[MAXIMUM_WAIT_OBJECTS];
  for (DWORD i = 0; i < count; ++i) {
    found[i] = events.Find(handles[i]);
    if (!found[i]) {
      *result = WAIT_FAILED;
      return true;
    }
  }
  for (DWORD i = 0; i < count; ++i) {
    if (!found[i]->signalled) continue;
    if (!found[i]->manualReset) found[i]->signalled = false;
    *result = WAIT_OBJECT_0 + i;
    return true;
  }
  return false;
}

std::optional<Time> Earliest(std::optional<Time> a, std::optional<Time> b) {
  if (!a) return b;
  if (!b) return a;
  return std::min(*a, *b);
}

}  // namespace

DWORD WINAPI MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE *handles, DWORD milliseconds,
                                         DWORD wakeMask, DWORD flags) {
  Phone &phone = Phone::ForProgramThread();
  if (count > MAXIMUM_WAIT_OBJECTS || (count && !handles) || flags != 0) return WAIT_FAILED;
  Core &core = phone.Kernel();
  UserState &user = phone.User();
  const platform::WakeSignal::Looking looking(core.wake);
  std::unique_lock lock(core.mutex);
  std::optional<Time> deadline;
  if (milliseconds != INFINITE) deadline = core.Now() + std::chrono::milliseconds(milliseconds);
  bool idled = false;  // the idle hook has seen the state this wait is about to sleep on
  for (;;) {
    DWORD result;
    if (CheckHandles(core.events, count, handles, &result)) return result;
    if (user.HasNewInput(wakeMask, core.Now())) return WAIT_OBJECT_0 + count;
    if (core.RunDue(lock)) {
      idled = false;
      continue;
    }
    if (deadline && core.Now() >= *deadline) return WAIT_TIMEOUT;
    if (!idled && core.idleHook) {
      // Whatever the hook posts or schedules is seen by the checks above.
      idled = true;
      lock.unlock();
      {
        const platform::WakeSignal::Busy busy;
        core.idleHook();
      }
      lock.lock();
      continue;
    }
    idled = false;
    std::optional<Time> until = Earliest(deadline, core.scheduler.Next());
    if (wakeMask & QS_TIMER) until = Earliest(until, user.NextTimerDue());
    ++core.blockedWaits;
    if (!core.clock().WaitUntil(lock, core.wake, until)) return WAIT_FAILED;
  }
}
