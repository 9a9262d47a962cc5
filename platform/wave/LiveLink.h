#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "wave/SampleRing.h"

namespace platform::wave {

// A sound server's buffer as its audio thread hands it over, in the server's
// own form: 16-bit samples (SDL's) or floats at full scale ±1 (JACK's).
struct ServerBuffer {
  int16_t *ints = nullptr;  // one of the two
  float *floats = nullptr;
  size_t count = 0;

  // Into the ring, as far as it has room; how many went.
  size_t Into(SampleRing &ring) const { return ints ? ring.Write(ints, count) : ring.Write(floats, count); }
  // From the ring, as far as it has sound; how many came.
  size_t From(SampleRing &ring) const { return ints ? ring.Read(ints, count) : ring.Read(floats, count); }
  // Silence from sample `from` on.
  void SilenceFrom(size_t from) const {
    if (ints)
      std::fill(ints + from, ints + count, int16_t{0});
    else
      std::fill(floats + from, floats + count, 0.0f);
  }
};

// The side of a live driver a sound server's thread calls (see LiveLink).
class LinkClient {
 public:
  // The link's audio thread: the samples at the link's rate just recorded
  // (capture), or to be filled with what to play (playback), all of them in
  // one call. Takes no lock, does not allocate and never waits.
  virtual void Exchange(const ServerBuffer &buffer) = 0;

 protected:
  ~LinkClient() = default;
};

// One open connection to a live device of one direction (an SDL audio device,
// a JACK client's port), as a live driver runs it: opened again after each
// loss, while the driver and its buffers stay.
//
// Opened on the audio worker (see AudioWorker), not running: no call reaches
// the client until Run(true). Destroying it closes it, which may wait on the
// sound server for ever, so it is destroyed on the audio worker too; by then
// it has been stopped, and its server's thread never calls the client again.
class LiveLink {
 public:
  virtual ~LiveLink() = default;

  // Samples per second of what Exchange carries.
  virtual int Rate() const = 0;
  // Program thread. On: the client's Exchange is called as the device goes.
  // Off: when it returns, no call of Exchange is running, and none comes
  // until it is on again.
  virtual void Run(bool on) = 0;
  // Program thread: why the backend says the device has gone away (it was
  // disconnected, its server shut down); empty while it is there.
  virtual std::string Gone() = 0;
};

}  // namespace platform::wave
