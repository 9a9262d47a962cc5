#include "wave/WaveDevices.h"

#include "phone/Phone.h"
#include "wave/DeviceListing.h"
#include "wave/WaveAudio.h"

namespace platform::wave {

namespace {

WaveAudio &Wave(std::source_location call = std::source_location::current()) {
  return Phone::ForProgramThread(call).Wave();
}

}  // namespace

void SelectCapture(const CaptureSource &source) { Wave().chosen.capture = source; }

void SelectPlayback(const PlaybackSink &sink) { Wave().chosen.playback = sink; }

void ReportOpenFailures(bool on) { Wave().failures.Report(on); }

std::string LastOpenError() { return Wave().failures.Last(); }

std::vector<std::string> ListLiveDevices(bool capture, std::string *error) {
  const DeviceListing listing(true, false);
  const DeviceListing::Answer &sdl = listing.Sdl();
  *error = sdl.answered && sdl.error.empty() ? "" : listing.SdlHasNone(capture);
  return sdl.Names(capture);
}

LiveLosses LiveLossCounts() {
  const LiveLossCounters &l = Wave().losses;
  return LiveLosses{l.overruns.times,     l.overruns.samples,     l.underruns.times,    l.underruns.samples,
                    l.captureAway.times,  l.captureAway.samples,  l.playbackAway.times, l.playbackAway.samples};
}

bool SettleLiveAudio() {
  WaveAudio &wave = Wave();
  return wave.closer.Settle(wave.timings.close);
}

}  // namespace platform::wave
