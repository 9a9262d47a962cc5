#pragma once

#include <string>

#include <SDL2/SDL.h>

namespace platform::wave {

// The SDL2 audio calls the live drivers make, as an object the phone owns,
// so that a test can stand in for SDL and its audio thread (SdlLoader is the
// real one). Load comes first; the other calls only after it succeeded.
//
// Thread: the program thread, but for CloseAudioDevice and TLSCleanup, which
// SdlAudio makes on a thread of its own (a close may hang). A stand-in keeps
// SDL's contract: once PauseAudioDevice(device, 1) returns, the device's
// callback is not running and does not run again until it is resumed.
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
  virtual const char *GetError() = 0;
  virtual int GetNumAudioDevices(int capture) = 0;
  virtual const char *GetAudioDeviceName(int index, int capture) = 0;
  // SDL keeps its error text per thread until told, for threads it did not make.
  virtual void TLSCleanup() = 0;
};

}  // namespace platform::wave
