#pragma once

// The device's command line (the program's own WinMain takes none).
#include <optional>
#include <string>

namespace platform::device {

struct DeviceOptions {
  enum class Screen { Window, Headless };
  enum class Clock { Real, Virtual };
  enum class Capture { Live, Demo, Silence, Tone, File };
  enum class Playback { Live, Null, File };

  std::optional<Screen> screen;  // unset: a window where a display opens
  int scale = 0;                 // 0: the largest that fits the desktop
  std::optional<Clock> clock;    // unset: real for a window, virtual headless
  std::optional<Capture> capture;  // unset: live where a microphone exists
  std::string captureDevice;     // live:NAME
  double toneHz = 0;
  std::string capturePath;
  std::optional<Playback> playback;  // unset: live where an output exists
  std::string playbackDevice;
  std::string playbackPath;
  std::string script;
  std::optional<double> duration;  // seconds
  std::string screenshot;
  bool traceText = false;
  bool listDevices = false;
  bool precise = false;  // the program measures with its precise estimator
  bool help = false;
  bool version = false;

  // Fills the options from argv; false with a message in `error` on a usage
  // error (an unknown option, a missing or bad value, or a combination that
  // cannot work, such as live audio on the virtual clock).
  bool Parse(int argc, const char *const *argv, std::string *error);
};

// The --help text, for a program called `program`.
std::string DeviceUsage(const std::string &program);

}  // namespace platform::device
