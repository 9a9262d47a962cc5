#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "general/AssertionRecord.h"
#include "general/UninitCaller.h"
#include "kernel/Platform.h"
#include "phone/Phone.h"
#include "soundbase/WaveInEvent.h"
#include "wave/WaveDevices.h"
#include "win/user.h"

// Each test runs on a phone of its own on the virtual clock, with silence
// as the capture source and no playback sink (a new phone's), and a
// tear-down root.
class VirtualAudio : public ::testing::Test {
 protected:
  void TearDown() override { root.reset(); }

  // Lets `ms` of simulated time pass without servicing anything.
  static void Pass(DWORD ms) { MsgWaitForMultipleObjectsEx(0, nullptr, ms, 0, 0); }
  // Waits until `event` is signalled; false if nothing could ever signal it.
  static bool WaitFor(HANDLE event) { return MsgWaitForMultipleObjectsEx(1, &event, INFINITE, 0, 0) == WAIT_OBJECT_0; }
  static long long NowNs() { return platform::Now().count(); }

  // A capture device as start-up makes it: 2 s queued in 100 ms buffers.
  RCPtr<WaveInEvent> NewCapture() { return MakeRC<WaveInEvent>(root.get(), 2.0, 100.0); }
  // The same, opened as start-up opens it: notified through its own event,
  // the default format, the position at 0; `handlers` get the samples.
  RCPtr<WaveInEvent> OpenCapture(const WaveInHandlers &handlers) {
    RCPtr<WaveInEvent> in = NewCapture();
    in->SetNotifyEvent(in->Event());
    const TWaveFormatEx format = TWaveFormatEx::Default();
    in->Init(handlers, &format);
    in->ResetPosition();
    return in;
  }

  platform::Phone phone{platform::ClockKind::Virtual};
  ScopedAssertionRecord record;
  std::unique_ptr<UninitCaller> root = std::make_unique<UninitCaller>();
};
