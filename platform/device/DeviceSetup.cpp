#include "device/DeviceSetup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/CommandLine.h"
#include "base/OutputFile.h"
#include "wave/AudioNames.h"
#include "wave/WaveDevices.h"

namespace platform::device {

namespace {

using wave::CaptureSource;
using wave::PlaybackSink;

const char *WhyNotReadable(const std::string &path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return std::strerror(errno);
  if (S_ISDIR(st.st_mode)) return std::strerror(EISDIR);
  return access(path.c_str(), R_OK) != 0 ? std::strerror(errno) : nullptr;
}

// The live device a direction chose, if any.
enum class Live { None, Sdl, Jack };
Live LiveChoice(const DeviceOptions &o, bool capture) {
  if (capture && o.capture)
    return o.capture->kind == CaptureSource::Kind::Live   ? Live::Sdl
           : o.capture->kind == CaptureSource::Kind::Jack ? Live::Jack
                                                          : Live::None;
  if (!capture && o.playback)
    return o.playback->kind == PlaybackSink::Kind::Live   ? Live::Sdl
           : o.playback->kind == PlaybackSink::Kind::Jack ? Live::Jack
                                                          : Live::None;
  return Live::None;
}

bool Chose(const DeviceOptions &o, Live live) { return LiveChoice(o, true) == live || LiveChoice(o, false) == live; }

// Why a live choice cannot be had from the start; "" when it can.
std::string Missing(const DeviceOptions &o, bool capture, const wave::DeviceListing &listing) {
  const std::string what = capture ? "audio capture device" : "audio output device";
  const std::string &name = capture ? o.capture->device : o.playback->device;
  if (LiveChoice(o, capture) == Live::Jack) {
    const std::string why = listing.JackRefusal(capture, name);
    const std::string word = capture ? wave::NameOf(*o.capture) : wave::NameOf(*o.playback);
    return why.empty() ? "" : "no " + what + " " + word + ": " + why;
  }
  const std::vector<std::string> &devices = listing.Sdl().Names(capture);
  if (devices.empty()) return "no " + what + " found: " + listing.SdlHasNone(capture);
  if (!name.empty() && std::find(devices.begin(), devices.end(), name) == devices.end())
    return "no " + what + " is called '" + name + "' (see --list-devices)";
  return "";
}

}  // namespace

bool WaitsForDevices(const DeviceOptions &o, bool window) { return window && o.clock == ClockKind::Real; }

std::optional<wave::DeviceListing> ListForRun(const DeviceOptions &o, bool window) {
  if (WaitsForDevices(o, window)) return std::nullopt;
  // ChooseAudio takes SDL's devices where a direction is left open.
  const bool sdl = Chose(o, Live::Sdl) || (o.clock == ClockKind::Real && (!o.capture || !o.playback));
  const bool jack = Chose(o, Live::Jack);
  if (!sdl && !jack) return std::nullopt;
  return std::optional<wave::DeviceListing>(std::in_place, sdl, jack);
}

bool CheckLiveAudio(const DeviceOptions &o, const wave::DeviceListing *listing, std::string *error) {
  for (bool capture : {true, false}) {
    if (LiveChoice(o, capture) == Live::None) continue;
    *error = Missing(o, capture, *listing);
    if (!error->empty()) return false;
  }
  return true;
}

void ChooseAudio(DeviceOptions *o, bool window, const wave::DeviceListing *listing, std::vector<std::string> *notes) {
  const bool real = o->clock == ClockKind::Real;
  const bool waits = WaitsForDevices(*o, window);
  auto has = [&](bool capture) { return waits || (listing && !listing->Sdl().Names(capture).empty()); };
  if (!o->capture) {
    o->capture.emplace();
    o->capture->kind = real && has(true) ? CaptureSource::Kind::Live : CaptureSource::Kind::Demo;
    if (o->capture->kind == CaptureSource::Kind::Demo)
      notes->push_back(real ? "no audio capture device found; listening to the built-in demo instead"
                            : "a simulated run has no microphone; listening to the built-in demo recording");
  }
  if (!o->playback) {
    o->playback.emplace();
    o->playback->kind = real && has(false) ? PlaybackSink::Kind::Live : PlaybackSink::Kind::Null;
  }
  o->capture->waitForDevice = waits && wave::IsLive(*o->capture);
  o->playback->waitForDevice = waits && wave::IsLive(*o->playback);
}

bool CheckFiles(const DeviceOptions &o, const std::vector<ScriptAction> &script, std::string *error) {
  if (o.capture && o.capture->kind == CaptureSource::Kind::File && o.capture->path != "-") {
    if (const char *why = WhyNotReadable(o.capture->path)) {
      *error = "cannot read " + cli::Quoted(o.capture->path) + ": " + why;
      return false;
    }
  }
  std::vector<std::string> outputs;
  if (o.playback && o.playback->kind == PlaybackSink::Kind::File) outputs.push_back(o.playback->path);
  if (!o.screenshot.empty()) outputs.push_back(o.screenshot);
  for (const ScriptAction &a : script)
    if (a.kind == ScriptAction::Kind::Screenshot) outputs.push_back(a.file);
  for (const std::string &path : outputs) {
    if (const std::string why = drovane::WhyNotWritable(path); !why.empty()) {
      *error = "cannot write " + cli::Quoted(path) + ": " + why;
      return false;
    }
  }
  return true;
}

AudioStatus SelectAudio(const DeviceOptions &o) {
  CaptureSource source = *o.capture;
  const bool recording = source.kind == CaptureSource::Kind::File || source.kind == CaptureSource::Kind::Demo;
  if (recording) source.status = std::make_shared<wave::RecordingStatus>();
  PlaybackSink sink = *o.playback;
  if (sink.kind == PlaybackSink::Kind::File) sink.status = std::make_shared<wave::WriteStatus>();
  wave::SelectCapture(source);
  wave::SelectPlayback(sink);
  wave::ReportOpenFailures(true);
  return {source.status, sink.status};
}

}  // namespace platform::device
