#include "wave/LiveEndpoint.h"

#include "wave/JackLink.h"
#include "wave/SdlLink.h"

namespace platform::wave {

std::unique_ptr<LiveLink> OpenLink(const LiveEndpoint &endpoint, const SdlAudio &sdl, LinkClient *client,
                                   MMRESULT *result, std::string *error) {
  if (endpoint.backend == LiveEndpoint::Backend::Jack)
    return JackLink::Open(endpoint.capture, endpoint.name, client, result, error);
  return SdlLink::Open(sdl, endpoint.capture, endpoint.name, client, result, error);
}

}  // namespace platform::wave
