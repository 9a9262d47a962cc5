#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform::wave {

// The side of a live driver a sound server's thread calls (see LiveLink).
class LinkClient {
 public:
  // The link's audio thread: `count` 16-bit samples at the link's rate, just
  // recorded (capture) or to be filled with what to play (playback). Takes
  // no lock, does not allocate and never waits.
  virtual void Exchange(int16_t *samples, size_t count) = 0;

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
