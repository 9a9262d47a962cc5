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
#include <string>
#include <vector>

#include "wave/CaptureStream.h"
#include "wave/RecordingStream.h"
#include "wave/SoundSink.h"
#include "win/wave.h"

namespace platform::wave {

struct CaptureSource {
  enum class Kind { Silence, Tone, File, Demo, Custom, Live };
  Kind kind = Kind::Silence;
  std::string path;            // File: any sound file libsndfile reads
  // File, Demo: told how much the recording held once it has been read to
  // its end (the device then hears silence), and any read error.
  std::shared_ptr<RecordingStatus> status;
  double toneHz = 440.0;       // Tone
  double toneAmplitude = 0.5;  // Tone: 0..1 of full scale
  // Custom: makes the source of each device opened (tests, tools).
  std::shared_ptr<std::function<std::unique_ptr<CaptureStream>()>> make;
  // Live: the device's name as ListLiveDevices gives it (empty: the system's
  // default); a name SDL does not know fails the open, and LastOpenError says so.
  std::string device;
};

struct PlaybackSink {
  enum class Kind { None, File, Live };
  Kind kind = Kind::None;
  std::string path;  // File: a 16-bit mono WAV written as the device plays
  // File: told, once the device has closed, whether all of it was written.
  std::shared_ptr<WriteStatus> status;
  // Live: the device's name as ListLiveDevices gives it (empty: the system's
  // default); a name SDL does not know fails the open, and LastOpenError says so.
  std::string device;
};

void SelectCapture(const CaptureSource &source);
// The live capture (or playback) devices SDL sees, by name; empty, with the
// reason in `error`, when there is no audio system.
std::vector<std::string> ListLiveDevices(bool capture, std::string *error);
void SelectPlayback(const PlaybackSink &sink);

// While on, a failed waveInOpen or waveOutOpen prints one line on stderr
// naming the source or sink and why (the phone's device turns it on for the
// program; tools that report failures themselves leave it off).
void ReportOpenFailures(bool on);

// What the live devices lost since the platform's reset, as times and
// samples. Overruns: captured sound the program did not take in time (it
// was not waiting for a second, or had no buffer queued). Underruns: silence
// the speaker played while written sound had not reached it in time.
struct LiveLosses {
  uint64_t overruns = 0;
  uint64_t overrunSamples = 0;
  uint64_t underruns = 0;
  uint64_t underrunSamples = 0;
};
LiveLosses LiveLossCounts();

// Why the last open that failed for a reason of the host (no audio device,
// unreadable or unwritable file) failed, in words for the user; empty if none.
std::string LastOpenError();

}  // namespace platform::wave
