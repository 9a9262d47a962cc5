#pragma once

// The tuner's own start-up run inside the test program, on a phone of its
// own, headless on the virtual clock: the test picks the capture source, schedules key presses
// and taps at clock times, and can look at the program's objects from the
// platform's idle hook while the loop runs. One at a time.
#include <functional>
#include <memory>
#include <optional>

#include "kernel/Platform.h"
#include "phone/Phone.h"
#include "wave/WaveDevices.h"
#include "win/window.h"

namespace tuner {

class InProcessTuner {
 public:
  explicit InProcessTuner(const platform::wave::CaptureSource &capture,
                          const platform::wave::PlaybackSink &playback = {});
  ~InProcessTuner();

  // Runs `action` on the program thread at `seconds` on the clock.
  void At(double seconds, std::function<void()> action);
  // A key press and release (a phone key code) at `seconds`.
  void Key(double seconds, UINT key);
  void Tap(double seconds, int x, int y);
  // Called each time the program has handled everything and waits.
  void OnIdle(std::function<void()> hook);

  // Start-up, the loop and shut-down; the window is asked to close at
  // `closeAt` seconds. Returns the program's exit status.
  int Run(double closeAt);

  static const HINSTANCE kModule;

 private:
  std::optional<platform::Phone> phone_;
};

platform::wave::CaptureSource ToneCapture(double hertz);

// A capture source whose every opening reads a new Stream(args...).
template <class Stream, class... Args>
platform::wave::CaptureSource CustomCapture(Args... args) {
  platform::wave::CaptureSource source;
  source.kind = platform::wave::CaptureSource::Kind::Custom;
  source.make = std::make_shared<std::function<std::unique_ptr<platform::wave::CaptureStream>()>>(
      [=] { return std::make_unique<Stream>(args...); });
  return source;
}

}  // namespace tuner
