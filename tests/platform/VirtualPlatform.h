#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "kernel/Platform.h"
#include "phone/Phone.h"
#include "win/user.h"

// Each test runs on a phone of its own on the virtual clock.
class VirtualPlatform : public ::testing::Test {
 protected:
  void SetUp() override { phone.emplace(platform::ClockKind::Virtual); }
  void TearDown() override { phone.reset(); }

  // A fresh phone in place of the running one.
  void Reset(platform::ClockKind clock = platform::ClockKind::Virtual) {
    phone.reset();
    phone.emplace(clock);
  }

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

  std::optional<platform::Phone> phone;
};
