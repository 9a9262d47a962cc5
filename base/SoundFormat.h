#pragma once

// The program's one sound format, as the phone captured and played it:
// 16-bit mono PCM at 22050 samples per second. The wave format record, the
// drivers, the estimator and the tools all take it from here.
namespace drovane {

inline constexpr int kSampleRate = 22050;  // samples per second
inline constexpr int kBytesPerSample = 2;  // one 16-bit channel
inline constexpr int kBitsPerSample = 8 * kBytesPerSample;
inline constexpr int kBytesPerSecond = kSampleRate * kBytesPerSample;

}  // namespace drovane
