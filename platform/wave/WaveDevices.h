#pragma once

// The platform's own interface to its wave devices, for the device's options,
// tools and tests (not a Win32 call; the program never includes it).
//
// A capture or playback device opened with waveInOpen / waveOutOpen takes the
// source or sink selected at that moment; devices already open keep theirs.
// Clock-paced sources and sinks follow the platform clock (on the virtual
// clock a buffer of n samples is done exactly n/22050 s after it began); live
// ones follow SDL's audio device. Program thread only.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "wave/SampleSource.h"
#include "win/wave.h"

namespace platform::wave {

struct CaptureSource {
  enum class Kind { Silence, Tone, Custom, Live };
  Kind kind = Kind::Silence;
  double toneHz = 440.0;       // Tone
  double toneAmplitude = 0.5;  // Tone: 0..1 of full scale
  // Custom: makes the source of each device opened (tests, tools).
  std::shared_ptr<std::function<std::unique_ptr<SampleSource>()>> make;
};

struct PlaybackSink {
  enum class Kind { None, File, Live };
  Kind kind = Kind::None;
  std::string path;  // File: a 16-bit mono WAV written as the device plays
};

void SelectCapture(const CaptureSource &source);
void SelectPlayback(const PlaybackSink &sink);

// Why the last open that failed for a reason of the host (no audio device,
// unreadable or unwritable file) failed, in words for the user; empty if none.
std::string LastOpenError();

// Samples of recorded content the open capture device's source holds before
// it turns to silence; none for endless or live sources or a bad handle.
std::optional<uint64_t> CaptureLength(HWAVEIN device);

}  // namespace platform::wave
