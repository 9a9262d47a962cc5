#pragma once

#include <memory>
#include <string>

#include "wave/AudioWorker.h"
#include "wave/LiveLink.h"
#include "wave/SdlAudio.h"
#include "win/wave.h"

namespace platform::wave {

// The live device a driver opens, and opens again after each loss.
struct LiveEndpoint {
  enum class Backend { Sdl, Jack };

  Backend backend = Backend::Sdl;
  bool capture = true;
  // SDL: the device's name as SDL lists it; JACK: the port to connect to.
  // Empty: the system's default (JACK: the first physical port).
  std::string name;
  // How messages name it: "live", "live:NAME", "jack", "jack:PORT".
  std::string label;
  // Start without it when it is not there, and take it when it comes.
  bool waitForDevice = false;
};

// The worker of `workers` its links are opened and closed on.
inline AudioWorker &WorkerOf(const LiveEndpoint &endpoint, AudioWorkers &workers) {
  return endpoint.backend == LiveEndpoint::Backend::Jack ? workers.jack : workers.sdl;
}

// Audio worker: a link to `endpoint` for `client`, not yet running; null,
// with the Win32 result and a message for the user, when it cannot be opened.
std::unique_ptr<LiveLink> OpenLink(const LiveEndpoint &endpoint, const SdlAudio &sdl, LinkClient *client,
                                   MMRESULT *result, std::string *error);

}  // namespace platform::wave
