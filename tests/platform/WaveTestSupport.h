#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "TestOutput.h"
#include "kernel/Platform.h"
#include "phone/Phone.h"
#include "wave/WaveDevices.h"
#include "win/kernel.h"
#include "win/user.h"
#include "win/wave.h"

// A phone of its own on the virtual clock (silence in and no sink out, as a
// new phone has), and the device's own format.
class WavePlatform : public ::testing::Test {
 protected:
  void SetUp() override {
    phone.emplace(platform::ClockKind::Virtual);
    format = {WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
    event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  }
  void TearDown() override { phone.reset(); }

  static void Pass(DWORD ms) { MsgWaitForMultipleObjectsEx(0, nullptr, ms, 0, 0); }
  static long long NowNs() { return platform::Now().count(); }
  // A header over `samples` 16-bit values of `memory`.
  static WAVEHDR Header(std::vector<short> &memory) {
    WAVEHDR h{};
    h.lpData = reinterpret_cast<LPSTR>(memory.data());
    h.dwBufferLength = static_cast<DWORD>(2 * memory.size());
    return h;
  }

  std::optional<platform::Phone> phone;
  WAVEFORMATEX format;
  HANDLE event = nullptr;
};
