#include "wave/DeviceListing.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

#include "phone/Phone.h"
#include "wave/JackLink.h"
#include "wave/WaveAudio.h"

namespace platform::wave {

namespace {

const char *What(bool capture) { return capture ? "audio capture device" : "audio output device"; }

// SDL's backends that are sound servers; the others (ALSA, OSS) reach a
// sound card directly.
bool IsServer(const std::string &driver) {
  return driver == "pulseaudio" || driver == "pipewire" || driver == "jack";
}

// A listing run on `worker`, its answer kept where both outlive the wait.
template <class List>
uint64_t PostListing(AudioWorker &worker, std::shared_ptr<DeviceListing::Answer> answer, List list) {
  return worker.Post([answer, list] { list(answer.get()); });
}

}  // namespace

DeviceListing::DeviceListing(bool sdl, bool jack) {
  WaveAudio &wave = Phone::ForProgramThread().Wave();
  bound_ = wave.timings.open;
  const auto deadline = std::chrono::steady_clock::now() + bound_;
  auto sdlAnswer = std::make_shared<Answer>(), jackAnswer = std::make_shared<Answer>();
  uint64_t sdlTicket = 0, jackTicket = 0;
  if (sdl) {
    sdlTicket = PostListing(wave.workers.sdl, sdlAnswer, [calls = wave.sdl](Answer *a) {
      SdlAudio::Listed listed = calls.ListAll();
      a->capture = std::move(listed.capture);
      a->playback = std::move(listed.playback);
      a->driver = std::move(listed.driver);
      a->error = std::move(listed.error);
    });
  }
  if (jack) {
    jackTicket = PostListing(wave.workers.jack, jackAnswer, [](Answer *a) {
      JackLink::Ports ports = JackLink::List();
      a->capture = std::move(ports.capture);
      a->playback = std::move(ports.playback);
      a->error = std::move(ports.error);
    });
  }
  // An answer is read only once its job has run: the worker's lock orders them.
  if (sdl && wave.workers.sdl.WaitFor(sdlTicket, deadline)) (sdl_ = *sdlAnswer).answered = true;
  if (jack && wave.workers.jack.WaitFor(jackTicket, deadline)) (jack_ = *jackAnswer).answered = true;
  sdl_.asked = sdl;
  jack_.asked = jack;
}

std::vector<std::string> DeviceListing::Words(bool capture) const {
  std::vector<std::string> words;
  for (const std::string &name : sdl_.Names(capture)) words.push_back("live:" + name);
  for (const std::string &port : jack_.Names(capture)) words.push_back("jack:" + port);
  return words;
}

std::string DeviceListing::SdlHasNone(bool capture) const {
  const char *kind = capture ? "capture" : "output";
  if (!sdl_.answered) return Unanswered("sound server");
  if (!sdl_.error.empty()) return sdl_.error;
  if (IsServer(sdl_.driver)) return "the " + sdl_.driver + " server has no " + kind + " device";
  return "no sound server answered (SDL's " + sdl_.driver + " driver lists no " + kind + " device)";
}

std::string DeviceListing::JackHasNone(bool capture) const {
  if (!jack_.answered) return Unanswered("JACK server");
  if (!jack_.error.empty()) return jack_.error;
  return capture ? "the JACK server has no output port" : "the JACK server has no input port";
}

std::string DeviceListing::JackRefusal(bool capture, const std::string &port) const {
  if (!jack_.answered) return Unanswered("JACK server");
  if (!jack_.error.empty()) return jack_.error;
  if (port.empty()) return "";
  auto has = [&port](const std::vector<std::string> &ports) {
    return std::find(ports.begin(), ports.end(), port) != ports.end();
  };
  std::optional<bool> output;
  if (has(jack_.capture)) output = true;
  if (has(jack_.playback)) output = false;
  return JackLink::Refusal(capture, port, output);
}

std::string DeviceListing::NoneFound(bool capture) const {
  std::string why;
  if (sdl_.asked) why = SdlHasNone(capture);
  if (jack_.asked) why += (why.empty() ? "" : "; ") + JackHasNone(capture);
  return std::string("no ") + What(capture) + " found: " + why;
}

std::vector<std::string> DeviceListing::Problems(bool capture, bool playback) const {
  std::vector<std::string> problems;
  bool some = false;
  for (bool d : {true, false}) {
    if (!(d ? capture : playback)) continue;
    if (Words(d).empty())
      problems.push_back(NoneFound(d));
    else
      some = true;
  }
  if (some && sdl_.asked && !sdl_.answered) problems.push_back(Unanswered("sound server") + "; its devices are not listed");
  if (some && jack_.asked && !jack_.answered) problems.push_back(Unanswered("JACK server") + "; its ports are not listed");
  return problems;
}

std::string DeviceListing::Unanswered(const char *server) const {
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%g", static_cast<double>(bound_.count()) / 1000.0);
  return std::string("the ") + server + " did not answer within " + seconds + " s";
}

}  // namespace platform::wave
