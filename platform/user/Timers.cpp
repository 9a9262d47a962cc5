// The timer calls of win/user.h.
#include <algorithm>

#include "phone/Phone.h"
#include "user/UserState.h"

using platform::Core;
using platform::Phone;

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC proc) {
  Phone &phone = Phone::ForProgramThread();
  uintptr_t injected;
  if (platform::InjectedFailure("SetTimer", &injected)) return injected;
  if (window) return 0;
  // As Win32: a period of 0 would make a timer due at every look.
  const UINT clamped = std::clamp<UINT>(milliseconds, 10u, 0x7FFFFFFFu);
  Core &core = phone.Kernel();
  UINT_PTR result;
  {
    std::lock_guard lock(core.mutex);
    auto period = std::chrono::milliseconds(clamped);
    result = phone.User().timers.Set(id, period, proc, core.Now());
  }
  core.wake.Notify();
  return result;
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) {
  Phone &phone = Phone::ForProgramThread();
  if (window) return FALSE;
  std::lock_guard lock(phone.Kernel().mutex);
  return phone.User().timers.Kill(id) ? TRUE : FALSE;
}
