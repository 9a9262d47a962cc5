#pragma once

#include <gtest/gtest.h>

#include "kernel/Platform.h"
#include "win/user.h"

// Each test starts from a fresh platform on the virtual clock.
class VirtualPlatform : public ::testing::Test {
 protected:
  void SetUp() override { platform::Reset(platform::ClockKind::Virtual); }
  void TearDown() override { platform::Reset(platform::ClockKind::Real); }

  static platform::Time Ms(long long ms) { return std::chrono::milliseconds(ms); }
  static DWORD Wait(DWORD count, const HANDLE *handles, DWORD ms, DWORD mask = 0x7F) {
    return MsgWaitForMultipleObjectsEx(count, handles, ms, mask, 0);
  }
  // Empties the queue, as the loop does before it waits (giving up after a
  // thousand messages, so a queue that never empties fails instead of hanging).
  static int Drain() {
    MSG msg;
    int n = 0;
    while (n < 1000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ++n;
    return n;
  }
};
