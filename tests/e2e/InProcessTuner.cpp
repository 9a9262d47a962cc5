#include "InProcessTuner.h"

#include "app/RunApplication.h"
#include "app/resources/AppResources.h"
#include "gdi/GdiHost.h"
#include "shell/Phone.h"

namespace tuner {

const HINSTANCE InProcessTuner::kModule = reinterpret_cast<HINSTANCE>(0x400000);

namespace {

platform::Time Seconds(double s) {
  return platform::Time(static_cast<long long>(s * 1e9));
}

}  // namespace

InProcessTuner::InProcessTuner(const platform::wave::CaptureSource &capture,
                               const platform::wave::PlaybackSink &playback) {
  platform::Reset(platform::ClockKind::Virtual);
  platform::phone::Start();
  platform::wave::SelectCapture(capture);
  platform::wave::SelectPlayback(playback);
  RegisterAppResources(kModule);
}

InProcessTuner::~InProcessTuner() {
  platform::SetIdleHook(nullptr);
  platform::Reset(platform::ClockKind::Real);
  GdiShutdown();
}

void InProcessTuner::At(double seconds, std::function<void()> action) {
  platform::ScheduleAt(Seconds(seconds), std::move(action));
}

void InProcessTuner::Key(double seconds, UINT key) {
  At(seconds, [key] {
    platform::phone::KeyDown(key);
    platform::phone::KeyUp(key);
  });
}

void InProcessTuner::Tap(double seconds, int x, int y) {
  At(seconds, [x, y] {
    platform::phone::StylusDown(x, y);
    platform::phone::StylusUp(x, y);
  });
}

void InProcessTuner::OnIdle(std::function<void()> hook) { platform::SetIdleHook(std::move(hook)); }

int InProcessTuner::Run(double closeAt) {
  At(closeAt, [] { platform::phone::RequestClose(); });
  return RunApplication(kModule);
}

platform::wave::CaptureSource ToneCapture(double hertz) {
  platform::wave::CaptureSource source;
  source.kind = platform::wave::CaptureSource::Kind::Tone;
  source.toneHz = hertz;
  return source;
}

}  // namespace tuner
