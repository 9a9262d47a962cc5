#pragma once

#include "wave/SdlAudioCalls.h"

namespace platform::wave {

// The real SDL audio calls, from libSDL2 loaded when a live device is first
// opened or listed rather than at program start: SDL2 and the forty libraries
// it links add about 7 ms to every start, and most runs (tools on files,
// tests, the simulated device) never play or record live.
class SdlLoader : public SdlAudioCalls {
 public:
  bool Load(std::string *error) override;

  int InitSubSystem(Uint32 flags) override { return calls_.InitSubSystem(flags); }
  void QuitSubSystem(Uint32 flags) override { calls_.QuitSubSystem(flags); }
  SDL_AudioDeviceID OpenAudioDevice(const char *device, int capture, const SDL_AudioSpec *desired,
                                    SDL_AudioSpec *obtained, int allowedChanges) override {
    return calls_.OpenAudioDevice(device, capture, desired, obtained, allowedChanges);
  }
  void PauseAudioDevice(SDL_AudioDeviceID device, int pause) override { calls_.PauseAudioDevice(device, pause); }
  void CloseAudioDevice(SDL_AudioDeviceID device) override { calls_.CloseAudioDevice(device); }
  SDL_AudioStatus GetAudioDeviceStatus(SDL_AudioDeviceID device) override {
    return calls_.GetAudioDeviceStatus(device);
  }
  const char *GetError() override { return calls_.GetError(); }
  int GetNumAudioDevices(int capture) override { return calls_.GetNumAudioDevices(capture); }
  const char *GetAudioDeviceName(int index, int capture) override {
    return calls_.GetAudioDeviceName(index, capture);
  }
  const char *GetCurrentAudioDriver() override { return calls_.GetCurrentAudioDriver(); }
  void TLSCleanup() override { calls_.TLSCleanup(); }

 private:
  struct Calls {
    decltype(&SDL_InitSubSystem) InitSubSystem;
    decltype(&SDL_QuitSubSystem) QuitSubSystem;
    decltype(&SDL_OpenAudioDevice) OpenAudioDevice;
    decltype(&SDL_CloseAudioDevice) CloseAudioDevice;
    decltype(&SDL_PauseAudioDevice) PauseAudioDevice;
    decltype(&SDL_GetAudioDeviceStatus) GetAudioDeviceStatus;
    decltype(&SDL_GetError) GetError;
    decltype(&SDL_GetNumAudioDevices) GetNumAudioDevices;
    decltype(&SDL_GetAudioDeviceName) GetAudioDeviceName;
    decltype(&SDL_GetCurrentAudioDriver) GetCurrentAudioDriver;
    decltype(&SDL_TLSCleanup) TLSCleanup;
  };
  Calls calls_{};
  bool loaded_ = false;
};

}  // namespace platform::wave
