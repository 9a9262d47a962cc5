#pragma once

#include <functional>

#include "general/EventLoop.h"
#include "win/user.h"

// What a tool's platform::StopSignals does: stops `loop`, and posts a
// message so that its wait returns at once to see it stopped. Program thread.
inline std::function<void(int)> StopLoop(EventLoop *loop) {
  return [loop](int) {
    loop->Stop();
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
  };
}
