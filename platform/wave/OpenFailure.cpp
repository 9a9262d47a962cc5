#include "wave/OpenFailure.h"

#include <cstdio>

#include "wave/DeviceTable.h"

namespace platform::wave {

namespace {

bool reporting = false;

std::string Named(const std::string &kind, const std::string &device) {
  return device.empty() ? kind : kind + ":" + device;
}

std::string SourceName(const CaptureSource &s) {
  switch (s.kind) {
    case CaptureSource::Kind::Live: return Named("live", s.device);
    case CaptureSource::Kind::Demo: return "demo";
    case CaptureSource::Kind::Tone: {
      char hz[32];
      std::snprintf(hz, sizeof hz, "tone:%g", s.toneHz);
      return hz;
    }
    case CaptureSource::Kind::File: return s.path;
    case CaptureSource::Kind::Custom: return "custom";
    default: return "silence";
  }
}

std::string SinkName(const PlaybackSink &s) {
  switch (s.kind) {
    case PlaybackSink::Kind::Live: return Named("live", s.device);
    case PlaybackSink::Kind::File: return s.path;
    default: return "null";
  }
}

}  // namespace

void ReportOpenFailures(bool on) { reporting = on; }

MMRESULT OpenFailed(Direction direction, MMRESULT result, const std::string &reason) {
  const bool capture = direction == Direction::Capture;
  DeviceTable &table = DeviceTable::Get();
  if (!reason.empty()) table.lastError = reason;
  if (!reporting) return result;
  const std::string device = capture ? SourceName(table.capture) : SinkName(table.playback);
  const std::string why = reason.empty() ? "error " + std::to_string(result) : reason;
  std::fprintf(stderr, "%s: the %s device %s could not be opened (%s); going on without %s\n",
               program_invocation_short_name, capture ? "capture" : "playback", device.c_str(), why.c_str(),
               capture ? "pitch readings" : "reference tones");
  return result;
}

}  // namespace platform::wave
