#pragma once

#include <memory>
#include <vector>

#include "device/Console.h"
#include "device/DeviceOptions.h"
#include "device/QuitWatchdog.h"
#include "device/Screenshots.h"
#include "device/Script.h"
#include "device/TextTrace.h"
#include "device/WindowPresenter.h"
#include "wave/RecordingStream.h"

namespace platform::device {

// What runs beside the program on the running phone: the window (or none),
// the script, the screenshots, the text trace, and the run's end. Made before
// WinMain; Idle runs at each of the program's idle moments; Finish after
// WinMain. The last screen is kept when the run is asked to end, or else
// just before the program's window goes (its own Close, the window's close
// button). Program thread.
class Session {
 public:
  // `recording` is the capture source's status when it is a recording.
  Session(const Console &console, const DeviceOptions &options, std::unique_ptr<WindowPresenter> presenter,
          std::shared_ptr<const wave::RecordingStatus> recording);

  // Schedules the script and the run's end: --duration; else, headless,
  // 1 s after a recording has been heard to its end (at once, and failed,
  // when it could not be read), or 1 s after the script's last action, or
  // at 10 s.
  void Start(const std::vector<ScriptAction> &script);
  void Idle();
  // Ends the run as closing the window would, the last screen kept first
  // (a stop signal, the script's quit, the run's time).
  void Quit();
  // After WinMain: the last trace lines and screenshots, the window closed;
  // false if the run failed.
  bool Finish();

 private:
  void QuitAt(double seconds);
  void WatchRecording();

  const Console &console_;
  const DeviceOptions &options_;
  std::unique_ptr<WindowPresenter> presenter_;
  std::shared_ptr<const wave::RecordingStatus> recording_;
  std::unique_ptr<TextTrace> trace_;
  Screenshots shots_;
  QuitWatchdog watchdog_;
  bool failed_ = false;
};

}  // namespace platform::device
