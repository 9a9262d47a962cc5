#pragma once

#include <memory>
#include <string>

#include "wave/CallbackGate.h"
#include "wave/LiveLink.h"
#include "wave/SdlAudio.h"

namespace platform::wave {

// A live link through an SDL audio device, 16-bit mono at 22050 Hz (SDL
// converts from the device's own format). SDL calls back on a thread of its
// own, through a gate (CallbackGate), and keeps calling back with silence at
// the device's pace once it has found the device disconnected.
class SdlLink : public LiveLink {
 public:
  // Audio worker: the device named `name` (empty: the default) for `client`;
  // null with the Win32 result and a message for the user (see SdlAudio::Open).
  static std::unique_ptr<LiveLink> Open(const SdlAudio &sdl, bool capture, const std::string &name,
                                        LinkClient *client, MMRESULT *result, std::string *error);
  // Audio worker: closes the device, stopped before.
  ~SdlLink() override;

  int Rate() const override;
  void Run(bool on) override;
  std::string Gone() override;

 private:
  SdlLink(const SdlAudio &sdl, bool capture, LinkClient *client) : sdl_(sdl), capture_(capture), client_(client) {}
  static void Callback(void *self, Uint8 *stream, int bytes);

  SdlAudio sdl_;
  const bool capture_;
  LinkClient *const client_;
  SDL_AudioDeviceID device_ = 0;
  CallbackGate gate_;
};

}  // namespace platform::wave
