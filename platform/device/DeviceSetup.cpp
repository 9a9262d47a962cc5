#include "device/DeviceSetup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "wave/WaveDevices.h"

namespace platform::device {

namespace {

using wave::CaptureSource;
using wave::PlaybackSink;

bool HasLiveDevice(bool capture) {
  std::string unused;
  return !wave::ListLiveDevices(capture, &unused).empty();
}

bool IsLive(const DeviceOptions &o, bool capture) {
  return capture ? o.capture && o.capture->kind == CaptureSource::Kind::Live
                 : o.playback && o.playback->kind == PlaybackSink::Kind::Live;
}

bool IsJack(const DeviceOptions &o, bool capture) {
  return capture ? o.capture && o.capture->kind == CaptureSource::Kind::Jack
                 : o.playback && o.playback->kind == PlaybackSink::Kind::Jack;
}

}  // namespace

bool CheckLiveAudio(const DeviceOptions &o, std::string *error) {
  for (bool capture : {true, false}) {
    if (!IsLive(o, capture)) continue;
    const std::string &name = capture ? o.capture->device : o.playback->device;
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

void ChooseAudio(DeviceOptions *o, bool window, std::vector<std::string> *notes) {
  const bool real = o->clock == ClockKind::Real;
  const bool waits = window && real;
  if (!o->capture) {
    o->capture.emplace();
    o->capture->kind = real && (waits || HasLiveDevice(true)) ? CaptureSource::Kind::Live : CaptureSource::Kind::Demo;
    if (o->capture->kind == CaptureSource::Kind::Demo)
      notes->push_back(real ? "no audio capture device found; listening to the built-in demo instead"
                            : "a simulated run has no microphone; listening to the built-in demo recording");
  }
  if (!o->playback) {
    o->playback.emplace();
    o->playback->kind = real && (waits || HasLiveDevice(false)) ? PlaybackSink::Kind::Live : PlaybackSink::Kind::Null;
  }
  o->capture->waitForDevice = waits && (IsLive(*o, true) || IsJack(*o, true));
  o->playback->waitForDevice = waits && (IsLive(*o, false) || IsJack(*o, false));
}

bool CheckCaptureFile(const DeviceOptions &o, std::string *error) {
  if (!o.capture || o.capture->kind != CaptureSource::Kind::File || o.capture->path == "-") return true;
  struct stat st;
  const char *why = stat(o.capture->path.c_str(), &st) != 0            ? std::strerror(errno)
                    : S_ISDIR(st.st_mode)                             ? "is a directory"
                    : access(o.capture->path.c_str(), R_OK) != 0 ? std::strerror(errno)
                                                                      : nullptr;
  if (why) *error = "cannot read '" + o.capture->path + "': " + why;
  return !why;
}

std::shared_ptr<const wave::RecordingStatus> SelectAudio(const DeviceOptions &o) {
  CaptureSource source = *o.capture;
  const bool recording = source.kind == CaptureSource::Kind::File || source.kind == CaptureSource::Kind::Demo;
  if (recording) source.status = std::make_shared<wave::RecordingStatus>();
  wave::SelectCapture(source);
  wave::SelectPlayback(*o.playback);
  wave::ReportOpenFailures(true);
  return source.status;
}

}  // namespace platform::device
