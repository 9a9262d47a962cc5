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
void SelectPlayback(const PlaybackSink &sink);

// The live capture (or playback) devices SDL sees, by name; empty, with the
// reason in `error`, when there is no audio system, or when the sound server
// did not answer within the open time (see LiveTimings). DeviceListing lists
// JACK's ports too, and both directions at once.
std::vector<std::string> ListLiveDevices(bool capture, std::string *error);

// While on, a failed waveInOpen or waveOutOpen prints one line on stderr
// naming the source or sink and why (the phone's device turns it on for the
// program; tools that report failures themselves leave it off).
void ReportOpenFailures(bool on);

// What the phone's live devices lost, as times and samples (at 22050 Hz).
// Overruns: captured sound the program did not take in time (it was not
// waiting for a second, or had no buffer queued). Underruns: silence the
// speaker played while written sound had not reached it in time. Away: the
// times a device was lost (see LinkSupervisor), and the samples of silence that
// capture heard, or of sound that playback played to nothing, meanwhile.
struct LiveLosses {
  uint64_t overruns = 0;
  uint64_t overrunSamples = 0;
  uint64_t underruns = 0;
  uint64_t underrunSamples = 0;
  uint64_t captureLosses = 0;
  uint64_t captureAwaySamples = 0;
  uint64_t playbackLosses = 0;
  uint64_t playbackAwaySamples = 0;
};
LiveLosses LiveLossCounts();

// Waits until the live devices closed so far have closed, at most the close
// time (LiveTimings) counted from the first call on this phone; says once on
// stderr which did not, and returns false then. The phone's end does it too;
// the device does it first, before its window (and SDL) goes.
bool SettleLiveAudio();

// Why the last open that failed for a reason of the host (no audio device,
// unreadable or unwritable file) failed, in words for the user; empty if none.
std::string LastOpenError();

}  // namespace platform::wave
