#include "device/Session.h"

#include <cstdio>

#include "base/SoundFormat.h"
#include "device/ScriptPlayer.h"
#include "device/Seconds.h"
#include "kernel/Platform.h"
#include "phone/Handset.h"

namespace platform::device {

namespace {

// A run with nothing else to end it.
constexpr double kDefaultSeconds = 10;
// How long a headless run goes on after its recording or script.
constexpr double kAfterSeconds = 1;

}  // namespace

Session::Session(const Console &console, const DeviceOptions &options, std::unique_ptr<WindowPresenter> presenter,
                 std::shared_ptr<const wave::RecordingStatus> recording)
    : console_(console),
      options_(options),
      presenter_(std::move(presenter)),
      recording_(std::move(recording)),
      shots_(console, options.screenshot),
      watchdog_(console) {
  if (options.traceText) trace_ = std::make_unique<TextTrace>(stdout);
}

void Session::Start(const std::vector<ScriptAction> &script) {
  handset::SetLastWindowHook([this] { shots_.TakeLast(); });
  ScheduleScript(script, shots_, [this] { Quit(); });
  const bool headless = !presenter_;
  if (options_.duration) {
    QuitAt(*options_.duration);
  } else if (headless && !recording_) {
    QuitAt(script.empty() ? kDefaultSeconds : script.back().seconds + kAfterSeconds);
  }
  if (!headless || options_.duration) recording_.reset();  // its end ends nothing
}

void Session::QuitAt(double seconds) {
  platform::ScheduleAt(Seconds(seconds), [this] { Quit(); });
}

// The screen as last shown, before the program closes its window.
void Session::Quit() {
  if (watchdog_.Quitting()) return;
  shots_.TakeLast();
  watchdog_.Quit();
}

// The recording's status is filled in as the device hears it: the idle
// moment after its last sample is the first to see it ended.
void Session::WatchRecording() {
  if (!recording_ || !recording_->ended) return;
  const std::shared_ptr<const wave::RecordingStatus> recording = std::move(recording_);
  if (recording->error.empty()) {
    QuitAt(static_cast<double>(recording->length) / drovane::kSampleRate + kAfterSeconds);
    return;
  }
  // An open that failed was said by the wave layer; a read that failed is said here.
  if (recording->opened) console_.Say("cannot read '" + options_.capture->path + "': " + recording->error);
  failed_ = true;
  Quit();
}

void Session::Idle() {
  if (presenter_) presenter_->Present();
  shots_.TakePending();
  if (trace_) trace_->Look(platform::Now());
  WatchRecording();
}

bool Session::Finish() {
  handset::SetLastWindowHook(nullptr);
  platform::SetIdleHook(nullptr);
  Idle();
  shots_.TakeLast();
  presenter_.reset();
  return !failed_ && !shots_.Failed();
}

}  // namespace platform::device
