#include "wave/WaveDevices.h"

#include "phone/Phone.h"
#include "wave/WaveState.h"

namespace platform::wave {

namespace {

WaveState &Wave(std::source_location call = std::source_location::current()) {
  return Phone::ForProgramThread(call).Wave();
}

}  // namespace

void SelectCapture(const CaptureSource &source) { Wave().chosen.capture = source; }

void SelectPlayback(const PlaybackSink &sink) { Wave().chosen.playback = sink; }

void ReportOpenFailures(bool on) { Wave().failures.Report(on); }

std::string LastOpenError() { return Wave().failures.Last(); }

std::vector<std::string> ListLiveDevices(bool capture, std::string *error) {
  return Wave().sdl.List(capture, error);
}

LiveLosses LiveLossCounts() {
  const LiveLossCounters &losses = Wave().losses;
  return LiveLosses{losses.overruns.times, losses.overruns.samples, losses.underruns.times, losses.underruns.samples};
}

}  // namespace platform::wave
