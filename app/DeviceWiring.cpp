#include "DeviceWiring.h"

#include "PlaybackAdapters.h"
#include "general/EventLoopNode.h"

void AddEventToLoop(EventLoop &loop, UninitCaller *root, const Delegate<void()> &handler,
                    const RCPtr<EventHandleHolder> &event) {
  loop.AddEventHandle(MakeRC<EventLoopNode>(root, handler), event);
}

RCPtr<WaveInEvent> CreateCaptureDevice(UninitCaller *root) {
  return MakeRC<WaveInEvent>(root, kCaptureQueueSeconds, kCaptureBufferMs);
}

void OpenCapture(WaveInEvent &device, const WaveInHandlers &handlers, const TWaveFormatEx &format) {
  device.SetNotifyEvent(device.Event());
  device.Init(handlers, &format);
}

void AddCaptureToLoop(EventLoop &loop, UninitCaller *root, const RCPtr<WaveInEvent> &device) {
  AddEventToLoop(loop, root, MakeDelegate<void()>(device.get(), &WaveIn::ProcessEvent), device->EventHolder());
}

RCPtr<Synth_H> CreateTonePlayer(UninitCaller *root, const TWaveFormatEx &format) {
  return MakeRC<Synth_H>(root, format.nSamplesPerSec, kToneBlockSamples);
}

WaveOutHandlers RefillHandlers(const RCPtr<Synth_H> &player) {
  WaveOutHandlers handlers;
  handlers.done.Bind(player, &Synth_H::Fill);
  return handlers;
}

void OpenTonePlayback(const RCPtr<WaveOutEvent> &device, const RCPtr<Synth_H> &player, const WaveOutHandlers &handlers,
                      const TWaveFormatEx &format) {
  device->Init(handlers, &format);
  player->SetOutputs(BindPlaybackOutputs(device));
}

void AddPlaybackToLoop(EventLoop &loop, UninitCaller *root, const RCPtr<WaveOutEvent> &device) {
  AddEventToLoop(loop, root, MakeDelegate<void()>(device.get(), &WaveOut::ProcessEvent), device->EventHolder());
}
