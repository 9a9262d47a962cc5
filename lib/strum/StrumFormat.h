#pragma once

// The sound the strum check reads: 16-bit mono PCM, the tuner's rate.
namespace Strum {

inline constexpr double kSampleRate = 22050.0;

}  // namespace Strum
