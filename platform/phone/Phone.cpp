#include "phone/Phone.h"

#include <cstdio>
#include <cstdlib>

#include "gdi/GdiState.h"
#include "kernel/Core.h"
#include "shell/CaptionStrip.h"
#include "shell/ShellState.h"
#include "user/UserState.h"
#include "user/WindowManager.h"
#include "wave/AudioWorker.h"
#include "wave/SdlLoader.h"
#include "wave/WaveAudio.h"

namespace platform {

namespace {

// Two phones at once would share one program's calls: a fault of the caller.
void Claim(Phone *phone, std::atomic<Phone *> &running) {
  Phone *none = nullptr;
  if (running.compare_exchange_strong(none, phone, std::memory_order_acq_rel)) return;
  std::fprintf(stderr, "%s: a second phone was made while one is running\n", program_invocation_short_name);
  std::abort();
}

}  // namespace

// The services are made after the phone is running, so that each may use
// the calls of those made before it.
Phone::Phone(ClockKind clock, std::shared_ptr<wave::SdlAudioCalls> sdl) : programThread_(GetCurrentThreadId()) {
  Claim(this, running_);
  kernel_ = std::make_unique<Core>(clock);
  gdi_ = std::make_unique<gdi::State>();
  user_ = std::make_unique<UserState>();
  windows_ = std::make_unique<WindowManager>();
  shell_ = std::make_unique<shell::ShellState>();
  sdl_ = sdl ? std::move(sdl) : std::make_shared<wave::SdlLoader>();
  workers_ = std::make_unique<wave::AudioWorkers>();
  wave_ = std::make_unique<wave::WaveAudio>(sdl_, *workers_);
}

// Pending occurrences go first, uncalled, while every service their captures
// might reach is there. Then the reverse order, each service while those
// below it still work: the wave devices (abandoned) while the kernel holds
// their signals, the workers once the devices' closes have been waited for,
// the screen while its drawing objects exist.
Phone::~Phone() {
  kernel_->DropOccurrences();
  wave_.reset();
  workers_.reset();
  sdl_.reset();
  shell_.reset();
  windows_.reset();
  user_.reset();
  gdi_.reset();
  kernel_.reset();
  running_.store(nullptr, std::memory_order_release);
}

// From now on the live devices' notices show in the caption strip.
void Phone::SwitchOn() {
  windows_->screen.Bitmap();
  shell::CreateCaptionStrip();
  wave_->notices.ShowWith([](const std::wstring &notice) { shell::ShowNotice(notice); });
}

}  // namespace platform
