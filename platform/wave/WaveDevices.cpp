#include "wave/WaveDevices.h"

#include <cstdio>
#include <memory>

#include "phone/Phone.h"
#include "wave/AudioWorker.h"
#include "wave/JackLink.h"
#include "wave/WaveAudio.h"

namespace platform::wave {

namespace {

WaveAudio &Wave(std::source_location call = std::source_location::current()) {
  return Phone::ForProgramThread(call).Wave();
}

// A list made on the audio worker, waited for at most the open time.
template <class List>
std::vector<std::string> ListOnWorker(List list, std::string *error) {
  struct Listed {
    std::vector<std::string> names;
    std::string error;
  };
  auto listed = std::make_shared<Listed>();
  AudioWorker &worker = AudioWorker::Shared();
  const auto bound = Wave().timings.open;
  const uint64_t ticket = worker.Post([listed, list] { listed->names = list(&listed->error); });
  if (!worker.WaitFor(ticket, std::chrono::steady_clock::now() + bound)) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%g", static_cast<double>(bound.count()) / 1000.0);
    *error = std::string("the sound server did not answer within ") + seconds + " s";
    return {};
  }
  *error = listed->error;
  return listed->names;
}

}  // namespace

void SelectCapture(const CaptureSource &source) { Wave().chosen.capture = source; }

void SelectPlayback(const PlaybackSink &sink) { Wave().chosen.playback = sink; }

void ReportOpenFailures(bool on) { Wave().failures.Report(on); }

std::string LastOpenError() { return Wave().failures.Last(); }

std::vector<std::string> ListLiveDevices(bool capture, std::string *error) {
  const SdlAudio sdl = Wave().sdl;
  return ListOnWorker([sdl, capture](std::string *why) { return sdl.List(capture, why); }, error);
}

std::vector<std::string> ListJackPorts(bool capture, std::string *error) {
  return ListOnWorker([capture](std::string *why) { return JackLink::List(capture, why); }, error);
}

std::vector<std::string> ListDeviceWords(bool capture, std::string *error) {
  std::vector<std::string> words;
  for (const std::string &name : ListLiveDevices(capture, error)) words.push_back("live:" + name);
  std::string noJack;
  const std::vector<std::string> ports = ListJackPorts(capture, &noJack);
  words.insert(words.end(), ports.begin(), ports.end());
  if (!words.empty()) error->clear();
  return words;
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
