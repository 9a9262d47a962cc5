// The timer calls of win/user.h.
#include <algorithm>

#include "user/UserState.h"

using platform::Core;

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC proc) {
  uintptr_t injected;
  if (platform::InjectedFailure("SetTimer", &injected)) return injected;
  if (window) return 0;
  // As Win32: a period of 0 would make a timer due at every look.
  const UINT clamped = std::clamp<UINT>(milliseconds, 10u, 0x7FFFFFFFu);
  Core &core = Core::Get();
  UINT_PTR result;
  {
    std::lock_guard lock(core.mutex);
    auto period = std::chrono::milliseconds(clamped);
    result = platform::UserState::Get().timers.Set(id, period, proc, core.Now());
  }
  core.wake.Notify();
  return result;
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) {
  if (window) return FALSE;
  Core &core = Core::Get();
  std::lock_guard lock(core.mutex);
  return platform::UserState::Get().timers.Kill(id) ? TRUE : FALSE;
}
