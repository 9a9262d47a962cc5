#include "wave/SdlLink.h"

#include <cstring>

#include "base/SoundFormat.h"

namespace platform::wave {

std::unique_ptr<LiveLink> SdlLink::Open(const SdlAudio &sdl, bool capture, const std::string &name,
                                        LinkClient *client, MMRESULT *result, std::string *error) {
  std::unique_ptr<SdlLink> link(new SdlLink(sdl, capture, client));
  link->device_ = sdl.Open(capture, name, &SdlLink::Callback, link.get(), result, error);
  if (!link->device_) return nullptr;
  return link;
}

// A device that never opened is not SDL's to close: closing it would quit
// SDL's audio once more than it was started, under any device still open.
SdlLink::~SdlLink() {
  gate_.Close();
  if (device_) sdl_.Close(device_);
}

int SdlLink::Rate() const { return drovane::kSampleRate; }

void SdlLink::Run(bool on) {
  if (on) gate_.Open();
  sdl_.Pause(device_, !on);
  if (!on) gate_.Close();
}

std::string SdlLink::Gone() { return sdl_.Disconnected(device_) ? "it was disconnected" : ""; }

// SDL's audio thread. What is played is SDL's buffer as the callback left it.
void SdlLink::Callback(void *self, Uint8 *stream, int bytes) {
  SdlLink &link = *static_cast<SdlLink *>(self);
  if (!link.gate_.Enter()) {
    if (!link.capture_) std::memset(stream, 0, static_cast<size_t>(bytes));
    return;
  }
  ServerBuffer buffer;
  buffer.ints = reinterpret_cast<int16_t *>(stream);
  buffer.count = static_cast<size_t>(bytes) / drovane::kBytesPerSample;
  link.client_->Exchange(buffer);
  link.gate_.Leave();
}

}  // namespace platform::wave
