// The queue calls of win/user.h.
#include <atomic>
#include <optional>

#include "phone/Phone.h"
#include "user/UserState.h"
#include "user/WindowProcLookup.h"

using platform::Core;
using platform::Phone;
using platform::UserState;

namespace {

std::atomic<platform::WindowProcLookup> windowProcLookup{nullptr};
std::atomic<platform::PaintLookup> paintLookup{nullptr};

// Posts to the program thread's queue if `threadId` is that thread (windows
// all belong to it, so a message for a window passes no thread).
BOOL Post(Phone &phone, std::optional<DWORD> threadId, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
          bool next = false) {
  if (threadId && *threadId != phone.ProgramThread()) return FALSE;
  Core &core = phone.Kernel();
  {
    std::lock_guard lock(core.mutex);
    const DWORD tick = platform::TickCount(core.Now());
    const MSG msg{window, message, wParam, lParam, tick, {0, 0}};
    if (next)
      phone.User().PostNext(msg);
    else
      phone.User().Post(msg);
  }
  core.wake.Notify();
  return TRUE;
}

// The character a key of the phone types, or 0.
WPARAM CharOfKey(WPARAM key) {
  if (key >= '0' && key <= '9') return key;
  switch (key) {
    case VK_BACK: case VK_TAB: case VK_RETURN: case VK_ESCAPE: case VK_SPACE:
      return key;
    default:
      return 0;
  }
}

}  // namespace

namespace platform {

void SetWindowProcLookup(WindowProcLookup lookup) { windowProcLookup = lookup; }

WNDPROC FindWindowProc(HWND window) {
  WindowProcLookup lookup = windowProcLookup;
  return lookup && window ? lookup(window) : nullptr;
}

void SetPaintLookup(PaintLookup lookup) { paintLookup = lookup; }

HWND FindWindowToPaint() {
  PaintLookup lookup = paintLookup;
  return lookup ? lookup() : nullptr;
}

void NotePaintPending() {
  Phone &phone = Phone::ForProgramThread();
  Core &core = phone.Kernel();
  {
    std::lock_guard lock(core.mutex);
    phone.User().NotePaint();
  }
  core.wake.Notify();
}

}  // namespace platform

BOOL WINAPI PeekMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeMsg) {
  Phone &phone = Phone::ForProgramThread();
  if (!msg) return FALSE;
  Core &core = phone.Kernel();
  UserState &user = phone.User();
  std::unique_lock lock(core.mutex);
  while (core.RunDue(lock)) {
  }
  const platform::Time now = core.Now();
  user.Looked(now);
  if (window || filterMin || filterMax) return FALSE;
  return user.Take(msg, (removeMsg & PM_REMOVE) != 0, now) ? TRUE : FALSE;
}

BOOL WINAPI TranslateMessage(const MSG *msg) {
  Phone &phone = Phone::ForProgramThread();
  if (!msg) return FALSE;
  if (msg->message == WM_KEYDOWN) {
    if (WPARAM ch = CharOfKey(msg->wParam))
      Post(phone, std::nullopt, msg->hwnd, WM_CHAR, ch, msg->lParam, true);
  }
  switch (msg->message) {
    case WM_KEYDOWN: case WM_KEYUP: case WM_SYSKEYDOWN: case WM_SYSKEYUP:
      return TRUE;
    default:
      return FALSE;
  }
}

LRESULT WINAPI DispatchMessageW(const MSG *msg) {
  Phone &phone = Phone::ForProgramThread();
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    // Only a procedure given to SetTimer is called: a forged WM_TIMER must
    // not make the program jump to an arbitrary address.
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    bool known;
    {
      std::lock_guard lock(phone.Kernel().mutex);
      known = phone.User().timers.IsKnownProc(proc);
    }
    if (known) proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  WNDPROC proc = platform::FindWindowProc(msg->hwnd);
  return proc ? proc(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
}

// Without a window it posts to the caller's own queue, which only the
// program thread has: any thread may try.
BOOL WINAPI PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!window) return Post(Phone::ForAnyThread(), GetCurrentThreadId(), nullptr, message, wParam, lParam);
  Phone &phone = Phone::ForProgramThread();
  if (!platform::FindWindowProc(window)) return FALSE;
  return Post(phone, std::nullopt, window, message, wParam, lParam);
}

BOOL WINAPI PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
  return Post(Phone::ForAnyThread(), threadId, nullptr, message, wParam, lParam);
}

void WINAPI PostQuitMessage(int exitCode) {
  Phone &phone = Phone::ForProgramThread();
  Core &core = phone.Kernel();
  {
    std::lock_guard lock(core.mutex);
    phone.User().PostQuit(exitCode);
  }
  core.wake.Notify();
}
