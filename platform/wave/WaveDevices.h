#pragma once

// The platform's own interface to its wave devices, for the device's options,
// tools and tests (not a Win32 call; the program never includes it).
//
// A capture or playback device opened with waveInOpen / waveOutOpen takes the
// source or sink selected at that moment (AudioChoice.h); devices already
// open keep theirs. Clock-paced sources and sinks follow the phone's clock
// (on the virtual clock a buffer of n samples is done exactly n/22050 s after
// it began); live ones follow SDL's audio device. Every call is the running
// phone's, on its program thread.
#include <cstdint>
#include <string>
#include <vector>

#include "wave/AudioChoice.h"
#include "win/wave.h"

namespace platform::wave {

void SelectCapture(const CaptureSource &source);
// The live capture (or playback) devices SDL sees, by name; empty, with the
// reason in `error`, when there is no audio system.
std::vector<std::string> ListLiveDevices(bool capture, std::string *error);
void SelectPlayback(const PlaybackSink &sink);

// While on, a failed waveInOpen or waveOutOpen prints one line on stderr
// naming the source or sink and why (the phone's device turns it on for the
// program; tools that report failures themselves leave it off).
void ReportOpenFailures(bool on);

// What the phone's live devices lost, as times and samples. Overruns:
// captured sound the program did not take in time (it was not waiting for a
// second, or had no buffer queued). Underruns: silence the speaker played
// while written sound had not reached it in time.
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
