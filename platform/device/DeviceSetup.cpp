#include "device/DeviceSetup.h"

#include <sndfile.h>

#include <algorithm>

#include "wave/DemoRecording.h"
#include "wave/WaveDevices.h"

namespace platform::device {

namespace {

using Options = DeviceOptions;

bool HasLiveDevice(bool capture) {
  std::string unused;
  return !wave::ListLiveDevices(capture, &unused).empty();
}

}  // namespace

void ChooseAudio(Options *o, std::vector<std::string> *notes) {
  const bool real = o->clock == Options::Clock::Real;
  if (!o->capture) {
    o->capture = real && HasLiveDevice(true) ? Options::Capture::Live : Options::Capture::Demo;
    if (o->capture == Options::Capture::Demo)
      notes->push_back(real ? "no audio capture device found; listening to the built-in demo instead"
                            : "a simulated run has no microphone; listening to the built-in demo recording");
  }
  if (!o->playback) o->playback = real && HasLiveDevice(false) ? Options::Playback::Live : Options::Playback::Null;
}

bool CheckLiveAudio(const Options &o, std::string *error) {
  for (bool capture : {true, false}) {
    const bool live = capture ? o.capture == Options::Capture::Live : o.playback == Options::Playback::Live;
    if (!live) continue;
    const std::string &name = capture ? o.captureDevice : o.playbackDevice;
    const char *what = capture ? "audio capture device" : "audio output device";
    std::string why;
    const std::vector<std::string> devices = wave::ListLiveDevices(capture, &why);
    if (devices.empty()) {
      *error = std::string("no ") + what + " found" + (why.empty() ? "" : " (" + why + ")");
      return false;
    }
    if (!name.empty() && std::find(devices.begin(), devices.end(), name) == devices.end()) {
      *error = std::string("no ") + what + " is called '" + name + "' (see --list-devices)";
      return false;
    }
  }
  return true;
}

void SelectAudio(const Options &o) {
  wave::CaptureSource source;
  switch (*o.capture) {
    case Options::Capture::Live: source.kind = wave::CaptureSource::Kind::Live; break;
    case Options::Capture::Demo: source.kind = wave::CaptureSource::Kind::Demo; break;
    case Options::Capture::Silence: source.kind = wave::CaptureSource::Kind::Silence; break;
    case Options::Capture::Tone: source.kind = wave::CaptureSource::Kind::Tone; break;
    case Options::Capture::File: source.kind = wave::CaptureSource::Kind::File; break;
  }
  source.path = o.capturePath;
  source.toneHz = o.toneHz;
  source.device = o.captureDevice;
  wave::SelectCapture(source);
  wave::PlaybackSink sink;
  sink.kind = *o.playback == Options::Playback::Live   ? wave::PlaybackSink::Kind::Live
              : *o.playback == Options::Playback::File ? wave::PlaybackSink::Kind::File
                                                       : wave::PlaybackSink::Kind::Null;
  sink.path = o.playbackPath;
  sink.device = o.playbackDevice;
  wave::SelectPlayback(sink);
  wave::ReportOpenFailures(true);
}

bool HeadlessDuration(const Options &o, const std::vector<ScriptAction> &script, double *seconds, std::string *error) {
  if (o.capture == Options::Capture::Demo) {
    *seconds = static_cast<double>(DemoRecording::TotalSamples()) / SampleSource::kRate + 1;
  } else if (o.capture == Options::Capture::File) {
    SF_INFO info{};
    SNDFILE *file = sf_open(o.capturePath.c_str(), SFM_READ, &info);
    if (!file || info.samplerate <= 0) {
      *error = "cannot read '" + o.capturePath + "': " + sf_strerror(file);
      if (file) sf_close(file);
      return false;
    }
    sf_close(file);
    *seconds = static_cast<double>(info.frames) / info.samplerate + 1;
  } else {
    *seconds = script.empty() ? 10 : script.back().seconds + 1;
  }
  return true;
}

}  // namespace platform::device
