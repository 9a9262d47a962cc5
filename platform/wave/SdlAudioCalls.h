#pragma once

#include <string>

#include <SDL2/SDL.h>

namespace platform::wave {

// The SDL2 audio calls the live drivers make, as an object the phone owns,
// so that a test can stand in for SDL and its audio thread (SdlLoader is the
// real one). Load comes first; the other calls only after it succeeded.
//
// Thread: PauseAudioDevice and GetAudioDeviceStatus on the program thread,
// the others on the audio worker (AudioWorker), where an open or a close may
// wait on a sound server for ever. A stand-in keeps SDL's contract: a device
// opens paused, and once PauseAudioDevice(device, 1) returns its callback is
// not running and does not run again until it is resumed (the drivers do not
// rely on it: see CallbackGate).
class SdlAudioCalls {
 public:
  virtual ~SdlAudioCalls() = default;

  // Makes the calls usable; false, with the reason, when SDL2 cannot be had.
  virtual bool Load(std::string *error) = 0;

  virtual int InitSubSystem(Uint32 flags) = 0;
  virtual void QuitSubSystem(Uint32 flags) = 0;
  virtual SDL_AudioDeviceID OpenAudioDevice(const char *device, int capture, const SDL_AudioSpec *desired,
                                            SDL_AudioSpec *obtained, int allowedChanges) = 0;
  virtual void PauseAudioDevice(SDL_AudioDeviceID device, int pause) = 0;
  virtual void CloseAudioDevice(SDL_AudioDeviceID device) = 0;
  // SDL_AUDIO_STOPPED once SDL has found the device disconnected.
  virtual SDL_AudioStatus GetAudioDeviceStatus(SDL_AudioDeviceID device) = 0;
  virtual const char *GetError() = 0;
  virtual int GetNumAudioDevices(int capture) = 0;
  virtual const char *GetAudioDeviceName(int index, int capture) = 0;
  // The name of the backend SDL's audio runs on ("pulseaudio", "alsa"), once initialised.
  virtual const char *GetCurrentAudioDriver() = 0;
  // SDL keeps its error text per thread until told, for threads it did not make.
  virtual void TLSCleanup() = 0;
};

}  // namespace platform::wave
