#pragma once

// The device's command line, and the program's options it passes on.
#include <optional>
#include <string>
#include <vector>

#include "base/CommandLine.h"
#include "device/ProgramCommandLine.h"
#include "kernel/Platform.h"
#include "wave/AudioChoice.h"

namespace platform::device {

struct DeviceOptions {
  enum class Screen { Window, Headless };

  std::optional<Screen> screen;  // unset: a window where a display opens
  int scale = 0;                 // 0: the largest that fits the desktop
  std::optional<ClockKind> clock;                // unset: real for a window or live audio, else virtual
  std::optional<wave::CaptureSource> capture;    // unset: live where a microphone exists
  std::optional<wave::PlaybackSink> playback;    // unset: live where an output exists
  std::string script;
  std::optional<double> duration;  // seconds
  std::string screenshot;
  bool defaultScreenshot = false;  // a headless fall-back's own, not asked for
  bool traceText = false;
  bool listDevices = false;
  // The program's own options, in the order given, each value apart from
  // its option: what WinMain's command line holds.
  std::vector<std::string> programArgs;

  // Whether live audio (SDL's or JACK's) was asked for, which only the real
  // clock can follow.
  bool Live() const {
    return (capture && wave::IsLive(*capture)) || (playback && wave::IsLive(*playback));
  }

  // Fills the options from argv, the program's among them; kUsageError with
  // a message in `error` for an unknown option, a missing or bad value, a
  // combination that cannot work (such as live audio on the virtual clock),
  // or a command line the program refuses.
  cli::Outcome Parse(int argc, const char *const *argv, const ProgramOptions &program, std::string *error);
};

}  // namespace platform::device
