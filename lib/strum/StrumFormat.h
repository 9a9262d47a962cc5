#pragma once

#include <cstdint>

#include "base/SoundFormat.h"

// The sound the strum check reads: 16-bit mono PCM at the tuner's rate.
namespace Strum {

inline constexpr double kSampleRate = drovane::kSampleRate;

// Sample counts of spans given in seconds, at that rate.
constexpr int64_t Samples(double seconds) { return static_cast<int64_t>(seconds * drovane::kSampleRate + 0.5); }

}  // namespace Strum
