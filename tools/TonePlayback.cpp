#include "TonePlayback.h"

#include <cstdio>

#include "StopLoop.h"
#include "app/DeviceWiring.h"
#include "base/SoundFormat.h"
#include "general/EventLoop.h"
#include "general/UninitCaller.h"
#include "kernel/Platform.h"
#include "kernel/StopSignals.h"
#include "phone/Phone.h"
#include "wave/WaveDevices.h"
#include "win/user.h"

namespace {

// Told after the player's refill on each done event: when the device's queue
// is empty then, the player had nothing more to give and the tone is over,
// and the loop is stopped.
struct EndWatch : virtual CRefCounter {
  EndWatch(WaveOut *device, const Delegate<void()> &stop) : device(device), stop(stop) {}
  void OnDone() {
    over = device->Queue().empty();
    if (over) stop();
  }
  WaveOut *device;
  Delegate<void()> stop;
  bool over = false;
};

// Silence played inside the tone, because the tone did not reach the
// device in time: it was not played whole.
std::string Underruns(const platform::wave::LiveLosses &losses) {
  char text[160];
  std::snprintf(text, sizeof text, "the tone was not played whole: %.3f s of silence in it (underruns: %llu)",
                static_cast<double>(losses.underrunSamples) / drovane::kSampleRate,
                static_cast<unsigned long long>(losses.underruns));
  return text;
}

// The tone on the selected sink; the device is closed on return.
bool Play(double note, std::string *error) {
  UninitCaller root;
  RCPtr<WaveOutEvent> device = MakeRC<WaveOutEvent>(&root);
  const TWaveFormatEx format = TWaveFormatEx::Default();
  RCPtr<Synth_H> player = CreateTonePlayer(&root, format);
  RCPtr<EventLoop> loop = MakeRC<EventLoop>();
  // Set before the device opens: the sound library then leaves the signals alone.
  platform::StopSignals stops(StopLoop(loop.get()));
  RCPtr<EndWatch> watch = MakeRC<EndWatch>(device.get(), MakeDelegate<void()>(loop.get(), &EventLoop::Stop));
  WaveOutHandlers handlers = RefillHandlers(player);
  handlers.done.AddBind(watch, &EndWatch::OnDone);
  OpenTonePlayback(device, player, handlers, format);
  if (device->State() != WaveState::kOpen) {
    *error = platform::wave::LastOpenError();
    if (error->empty()) *error = "the audio output device could not be opened";
    return false;
  }
  AddPlaybackToLoop(*loop, &root, device);
  device->Start();
  player->Play(note);
  if (!platform::StopSignals::Caught()) loop->Run();
  // Else only a failed wait ends the loop early.
  const bool ended = watch->over || platform::StopSignals::Caught();
  const platform::wave::LiveLosses losses = platform::wave::LiveLossCounts();
  if (!ended)
    *error = "the audio output device stopped responding";
  else if (losses.playbackLosses > 0)
    *error = "the audio output device went away while the tone played";
  else if (losses.underruns > 0)
    *error = Underruns(losses);
  return error->empty();
}

}  // namespace

bool PlayTone(double note, const platform::wave::PlaybackSink &sink, std::string *error) {
  const auto written = std::make_shared<platform::wave::WriteStatus>();
  {
    const bool file = sink.kind == platform::wave::PlaybackSink::Kind::File;
    platform::Phone phone(file ? platform::ClockKind::Virtual : platform::ClockKind::Real);
    platform::wave::PlaybackSink selected = sink;
    selected.status = written;
    platform::wave::SelectPlayback(selected);
    if (!Play(note, error)) return false;
  }
  *error = written->error;
  return error->empty();
}
