#include "wave/LiveDriver.h"

#include "base/SoundFormat.h"

namespace platform::wave {

namespace {
// A second of sound: room while the program thread is busy elsewhere, and
// more than the program queues ahead of the speaker.
constexpr size_t kRingSamples = drovane::kSampleRate;
}  // namespace

LiveDriver::LiveDriver(Direction direction, SdlAudio &sdl, LossCounter *losses)
    : losses_(losses), ring_(kRingSamples), signal_([this] { HandOver(); }), direction_(direction), sdl_(sdl) {}

bool LiveDriver::Open(const std::string &name, MMRESULT *result, std::string *error) {
  sdlDevice_ = sdl_.Open(direction_ == Direction::Capture, name, &LiveDriver::Callback, this, result, error);
  return sdlDevice_ != 0;
}

// A device that never opened is not SDL's to close: closing it would quit
// SDL's audio once more than it was started, under any device still open.
void LiveDriver::Close() {
  if (!sdlDevice_) return;
  sdl_.Close(sdlDevice_, direction_ == Direction::Capture);
  sdlDevice_ = 0;
}

void LiveDriver::Pause(bool paused) {
  if (sdlDevice_) sdl_.Pause(sdlDevice_, paused);
}

// SDL's audio thread.
void LiveDriver::Callback(void *self, Uint8 *stream, int bytes) {
  static_cast<LiveDriver *>(self)->Exchange(stream, static_cast<size_t>(bytes) / drovane::kBytesPerSample);
}

}  // namespace platform::wave
