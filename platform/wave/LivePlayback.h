#pragma once

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "kernel/Platform.h"
#include "wave/SdlAudio.h"
#include "wave/WaveOutDevice.h"

namespace platform::wave {

// Playback on the live speaker through SDL. A written buffer is copied into
// the driver's own queue on the program thread, so SDL's audio thread never
// touches the program's memory; the audio thread plays from that queue (and
// silence when it runs dry), counts the buffers it has finished and
// schedules, once, a hand-over on the program thread, which completes them.
class LivePlayback : public PlaybackDriver {
 public:
  // Null if there is no usable device (see OpenSdlAudio).
  static std::unique_ptr<LivePlayback> Open(MMRESULT *result, std::string *error);
  ~LivePlayback() override;

  void OnWritten() override;
  void OnReset() override;
  void OnAbandoned() override;

 private:
  LivePlayback() = default;
  static void Callback(void *self, Uint8 *stream, int bytes);
  void Play(int16_t *out, size_t count);
  void HandOver();

  SDL_AudioDeviceID sdl_ = 0;
  bool running_ = false;
  std::mutex mutex_;
  std::vector<int16_t> samples_;      // guarded: written, not yet played
  size_t readAt_ = 0;                 // guarded: next sample to play
  std::deque<size_t> bufferEnds_;     // guarded: where each queued buffer ends in samples_
  size_t finished_ = 0;               // guarded: buffers played, not yet handed over
  bool abandoned_ = false;  // guarded
  bool handOverPending_ = false;      // guarded
  OccurrenceId handOverId_ = 0;       // guarded
};

}  // namespace platform::wave
