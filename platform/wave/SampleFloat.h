#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace platform::wave {

// 16-bit samples as the floats of a rate converter or a JACK port (full
// scale ±1), and back, rounded and clipped.
inline float FloatOf(int16_t sample) { return static_cast<float>(sample) / 32768.0f; }
inline int16_t SampleOf(float value) {
  return static_cast<int16_t>(std::clamp(std::lrint(value * 32768.0f), -32768L, 32767L));
}

// Samples converted in one go: a few milliseconds of sound.
inline constexpr size_t kFloatChunk = 1024;

}  // namespace platform::wave
