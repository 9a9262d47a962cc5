#pragma once

#include <cstdint>

#include "base/SoundFormat.h"
#include "kernel/Clock.h"

namespace platform::wave {

// The clock time `samples` take, rounded up to the next nanosecond, so a
// buffer is complete at its time. Exact for any count: the time is derived
// from the whole count, never accumulated.
inline Time SamplesToClock(uint64_t samples) {
  constexpr uint64_t rate = drovane::kSampleRate;
  const uint64_t whole = samples / rate;
  const uint64_t rest = samples % rate;
  return Time(static_cast<int64_t>(whole * 1'000'000'000ull + (rest * 1'000'000'000ull + rate - 1) / rate));
}

// Whole samples heard in `t` (negative times count none).
inline uint64_t ClockToSamples(Time t) {
  if (t.count() <= 0) return 0;
  const auto ns = static_cast<unsigned __int128>(t.count());
  return static_cast<uint64_t>(ns * drovane::kSampleRate / 1'000'000'000u);
}

}  // namespace platform::wave
