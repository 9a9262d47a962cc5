#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/Console.h"
#include "device/DeviceOptions.h"
#include "device/DeviceSetup.h"
#include "device/QuitWatchdog.h"
#include "device/Screenshots.h"
#include "device/Script.h"
#include "device/ScriptPlayer.h"
#include "device/TextTrace.h"
#include "device/WindowPresenter.h"

namespace platform::device {

// What runs beside the program on the running phone: the window (or none),
// the script, the screenshots, the text trace, and the run's end. Made before
// WinMain; Idle runs at each of the program's idle moments; Finish after
// WinMain. The last screen is kept when the run is asked to end, or else
// just before the program's window goes (its own Close, the window's close
// button). An input or output that fails (a capture file that cannot be
// read, a WAV sink, a screenshot or the trace that cannot be written) ends
// the run in order, said on stderr, and fails it. Program thread.
class Session {
 public:
  Session(const Console &console, const DeviceOptions &options, std::unique_ptr<WindowPresenter> presenter,
          AudioStatus audio);

  // Schedules the script and the run's end: --duration; else, headless,
  // 1 s after a recording has been heard to its end, or 1 s after the
  // script's last action, or at 10 s.
  void Start(std::vector<ScriptAction> script);
  void Idle();
  // Ends the run as closing the window would, the last screen kept first
  // (a stop signal, the script's quit, the run's time, a failure).
  void Quit();
  // After WinMain: the last trace lines and screenshots, the window closed;
  // false if the run failed.
  bool Finish();

 private:
  void QuitAt(double seconds);
  void WatchRecording();
  void WatchOutputs();
  // Says `message` (unless it was said already, "") and ends the run, failed.
  void Fail(const std::string &message);

  const Console &console_;
  const DeviceOptions &options_;
  std::unique_ptr<WindowPresenter> presenter_;
  AudioStatus audio_;
  bool endsWithRecording_ = false;
  std::unique_ptr<TextTrace> trace_;
  Screenshots shots_;
  std::optional<ScriptPlayer> script_;
  QuitWatchdog watchdog_;
  bool failed_ = false;
};

}  // namespace platform::device
