#include "ScriptedPlatform.h"

#include <cstdio>

namespace scripted {

std::vector<std::string> calls;
std::deque<MSG> queue;
std::deque<DWORD> waitResults;
std::function<void(const MSG &)> onDispatch;

void Reset() {
  calls.clear();
  queue.clear();
  waitResults.clear();
  onDispatch = nullptr;
}

MSG Message(UINT message, WPARAM wParam) { return MSG{nullptr, message, wParam, 0, 0, {0, 0}}; }

}  // namespace scripted

using namespace scripted;

namespace {

// printf-style, which also keeps clear of a false warning that GCC 12 gives
// for "text" + std::string at -O3.
template <class... A>
std::string Format(const char *format, A... args) {
  char text[256];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

unsigned long Hex(const void *p) { return static_cast<unsigned long>(reinterpret_cast<uintptr_t>(p)); }

}  // namespace

BOOL WINAPI PeekMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeMsg) {
  const char *kind = removeMsg == PM_REMOVE ? "remove" : removeMsg == PM_NOREMOVE ? "keep" : "?";
  const char *filtered = window || filterMin || filterMax ? " filtered" : "";
  if (queue.empty()) {
    calls.push_back(Format("peek(%s)%s=none", kind, filtered));
    return FALSE;
  }
  *msg = queue.front();
  if (removeMsg == PM_REMOVE) queue.pop_front();
  calls.push_back(Format("peek(%s)%s=%u", kind, filtered, msg->message));
  return TRUE;
}

BOOL WINAPI TranslateMessage(const MSG *msg) {
  calls.push_back(Format("translate %u", msg->message));
  return FALSE;
}

LRESULT WINAPI DispatchMessageW(const MSG *msg) {
  calls.push_back(Format("dispatch %u", msg->message));
  if (onDispatch) onDispatch(*msg);
  return 0;
}

DWORD WINAPI MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE *handles, DWORD milliseconds,
                                         DWORD wakeMask, DWORD flags) {
  std::string call = "wait(";
  if (!handles) {
    call += count ? Format("null+%u", count) : std::string("null");
  } else {
    call += '[';
    for (DWORD i = 0; i < count; ++i) call += Format(i ? " %lx" : "%lx", Hex(handles[i]));
    call += ']';
  }
  call += milliseconds == INFINITE ? std::string(" INF") : Format(" %u", milliseconds);
  call += Format(" %x %u)", wakeMask, flags);
  calls.push_back(call);
  if (waitResults.empty()) return WAIT_FAILED;
  DWORD result = waitResults.front();
  waitResults.pop_front();
  return result;
}

BOOL WINAPI CloseHandle(HANDLE) { return TRUE; }
