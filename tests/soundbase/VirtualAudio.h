#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "general/AssertionRecord.h"
#include "general/UninitCaller.h"
#include "kernel/Platform.h"
#include "wave/WaveDevices.h"
#include "win/user.h"

// Each test starts from a fresh platform on the virtual clock, with silence
// as the capture source and no playback sink, and a tear-down root.
class VirtualAudio : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::Reset(platform::ClockKind::Virtual);
    platform::wave::SelectCapture(platform::wave::CaptureSource());
    platform::wave::SelectPlayback(platform::wave::PlaybackSink());
  }
  void TearDown() override {
    root.reset();
    platform::Reset(platform::ClockKind::Real);
  }

  // Lets `ms` of simulated time pass without servicing anything.
  static void Pass(DWORD ms) { MsgWaitForMultipleObjectsEx(0, nullptr, ms, 0, 0); }
  // Waits until `event` is signalled; false if nothing could ever signal it.
  static bool WaitFor(HANDLE event) { return MsgWaitForMultipleObjectsEx(1, &event, INFINITE, 0, 0) == WAIT_OBJECT_0; }
  static long long NowNs() { return platform::Now().count(); }

  ScopedAssertionRecord record;
  std::unique_ptr<UninitCaller> root = std::make_unique<UninitCaller>();
};
