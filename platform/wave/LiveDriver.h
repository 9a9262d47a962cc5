#pragma once

#include <string>

#include "kernel/DriverSignal.h"
#include "wave/DeviceQueue.h"
#include "wave/LossCounter.h"
#include "wave/SampleRing.h"
#include "wave/SdlAudio.h"

namespace platform::wave {

// What live capture and playback through SDL share: SDL's audio device, the
// lock-free ring in which sound crosses between SDL's audio thread and the
// program thread, the counter of what was lost, and the signal by which the
// audio thread has the program thread take over.
//
// SDL's audio thread runs Exchange, which touches only the ring, the loss
// counter, the signal and what the derived driver says; it never locks,
// allocates or reaches the platform's lock. The signal runs HandOver on the
// program thread. A close returns within SDL's close bound even when the
// sound server has stopped answering (see SdlAudio::Close).
class LiveDriver : public WaveDriver {
 public:
  // Opens the device named `name`, paused; false, with the Win32 result and a
  // message for the user, if there is no usable one (see SdlAudio::Open).
  bool Open(const std::string &name, MMRESULT *result, std::string *error);
  // Paused at once: the audio thread stops, and with it the losses it
  // counts; the buffers are not touched again.
  void OnAbandoned() override { Pause(true); }

 protected:
  // `sdl` and `losses` outlive the driver.
  LiveDriver(Direction direction, SdlAudio &sdl, LossCounter *losses);
  // Each derived driver calls Close first in its destructor, so that the
  // audio thread is done with it before its own state goes.
  ~LiveDriver() override { Close(); }

  // Closes the device if it was opened; from then on Exchange never runs again.
  void Close();
  // When a pause returns, Exchange is not running and does not run again until resumed.
  void Pause(bool paused);

  // SDL's audio thread: records `count` samples from, or plays them into, `stream`.
  virtual void Exchange(Uint8 *stream, size_t count) = 0;
  // The program thread, inside a platform wait, after the audio thread raised the signal.
  virtual void HandOver() = 0;

  LossCounter *const losses_;
  SampleRing ring_;
  DriverSignal signal_;

 private:
  static void Callback(void *self, Uint8 *stream, int bytes);

  const Direction direction_;
  SdlAudio &sdl_;
  SDL_AudioDeviceID sdlDevice_ = 0;
};

}  // namespace platform::wave
