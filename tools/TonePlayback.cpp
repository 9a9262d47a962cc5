#include "TonePlayback.h"

#include "app/PlaybackAdapters.h"
#include "general/UninitCaller.h"
#include "kernel/Platform.h"
#include "wave/WaveDevices.h"
#include "win/user.h"

namespace {

// Told after the player's refill on each done event: when the device's queue
// is empty then, the player had nothing more to give and the tone is over.
struct EndWatch : virtual CRefCounter {
  explicit EndWatch(WaveOut *device) : device(device) {}
  void OnDone() { over = device->Queue().empty(); }
  WaveOut *device;
  bool over = false;
};

void SelectSink(const std::string &wavFile) {
  platform::wave::PlaybackSink sink;
  sink.kind = wavFile.empty() ? platform::wave::PlaybackSink::Kind::Live : platform::wave::PlaybackSink::Kind::File;
  sink.path = wavFile;
  platform::wave::SelectPlayback(sink);
}

}  // namespace

bool PlayTone(double note, const std::string &wavFile, std::string *error) {
  platform::Reset(wavFile.empty() ? platform::ClockKind::Real : platform::ClockKind::Virtual);
  SelectSink(wavFile);
  UninitCaller root;
  RCPtr<WaveOutEvent> device = MakeRC<WaveOutEvent>(&root, 1);
  const TWaveFormatEx format = TWaveFormatEx::Default();
  RCPtr<Synth_H> player = MakeRC<Synth_H>(&root, format.nSamplesPerSec, 4096);
  RCPtr<EndWatch> watch = MakeRC<EndWatch>(device.get());
  WaveOutHandlers handlers;
  handlers.done.Bind(player, &Synth_H::Fill);
  handlers.done.AddBind(watch, &EndWatch::OnDone);
  device->Init(handlers, &format);
  if (device->State() != 1) {
    *error = platform::wave::LastOpenError();
    if (error->empty()) *error = "the audio output device could not be opened";
    return false;
  }
  player->SetOutputs(BindPlaybackOutputs(device));
  device->Start();
  player->Play(note);
  HANDLE event = device->Event();
  while (!watch->over) {
    if (MsgWaitForMultipleObjectsEx(1, &event, INFINITE, 0, 0) != WAIT_OBJECT_0) {
      *error = "the audio output device stopped responding";
      return false;
    }
    device->ProcessEvent();
  }
  return true;
}
