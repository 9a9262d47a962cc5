// The kernel calls of win/kernel.h.
#include <atomic>

#include "kernel/Core.h"
#include "phone/Phone.h"
#include "win/kernel.h"

using platform::Core;
using platform::Phone;

HANDLE WINAPI CreateEventW(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCWSTR) {
  Core &core = Phone::ForAnyThread().Kernel();
  uintptr_t injected;
  if (platform::InjectedFailure("CreateEventW", &injected)) return reinterpret_cast<HANDLE>(injected);
  std::lock_guard lock(core.mutex);
  return core.events.Create(manualReset != FALSE, initialState != FALSE);
}

namespace {

// Sets an event's state; false when `handle` is no event.
bool SetSignalled(Core &core, HANDLE handle, bool signalled) {
  std::lock_guard lock(core.mutex);
  auto *event = core.events.Find(handle);
  if (event) event->signalled = signalled;
  return event != nullptr;
}

}  // namespace

BOOL WINAPI SetEvent(HANDLE handle) {
  Core &core = Phone::ForAnyThread().Kernel();
  if (!SetSignalled(core, handle, true)) return FALSE;
  core.wake.Notify();
  return TRUE;
}

BOOL WINAPI ResetEvent(HANDLE handle) {
  return SetSignalled(Phone::ForAnyThread().Kernel(), handle, false) ? TRUE : FALSE;
}

BOOL WINAPI CloseHandle(HANDLE handle) {
  Core &core = Phone::ForAnyThread().Kernel();
  std::lock_guard lock(core.mutex);
  return core.events.Close(handle) ? TRUE : FALSE;
}

DWORD WINAPI GetTickCount(void) {
  Core &core = Phone::ForAnyThread().Kernel();
  std::lock_guard lock(core.mutex);
  return platform::TickCount(core.Now());
}

DWORD WINAPI GetCurrentThreadId(void) {
  static std::atomic<DWORD> last{0};
  thread_local const DWORD id = ++last;
  return id;
}
