#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "kernel/Platform.h"
#include "wave/SdlAudio.h"
#include "wave/WaveInDevice.h"

namespace platform::wave {

// Capture from the live microphone through SDL. SDL's audio thread touches
// nothing but the incoming block below (under the lock): it copies what it
// recorded there and schedules, once, a hand-over on the program thread,
// which wakes the waiting program at once. The hand-over fills the queued
// buffers front first and completes each full one. Sound that arrives while
// no buffer is queued is lost, as on the phone.
class LiveCapture : public CaptureDriver {
 public:
  // Null if there is no usable device (see OpenSdlAudio).
  static std::unique_ptr<LiveCapture> Open(MMRESULT *result, std::string *error);
  ~LiveCapture() override;

  void OnStart() override;
  void OnAdded() override {}
  uint32_t OnReset() override;
  void OnAbandoned() override;

 private:
  LiveCapture() = default;
  static void Callback(void *self, Uint8 *stream, int bytes);
  void HandOver();

  SDL_AudioDeviceID sdl_ = 0;
  std::mutex mutex_;
  std::vector<int16_t> incoming_;  // guarded by mutex_
  bool abandoned_ = false;  // guarded
  bool handOverPending_ = false;   // guarded by mutex_
  OccurrenceId handOverId_ = 0;    // guarded by mutex_
  std::vector<int16_t> taken_;     // program thread
  uint32_t frontFill_ = 0;         // samples already in the front buffer
};

}  // namespace platform::wave
