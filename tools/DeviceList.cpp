#include "DeviceList.h"

#include <errno.h>

#include <cstdio>

#include "phone/Phone.h"
#include "wave/DeviceListing.h"

bool ListDevices(bool capture, std::string *error) {
  platform::Phone phone(platform::ClockKind::Real);
  const platform::wave::DeviceListing listing(true, true);
  const std::vector<std::string> devices = listing.Words(capture);
  for (const std::string &device : devices) std::printf("%s\n", device.c_str());
  if (devices.empty()) {
    *error = listing.NoneFound(capture);
    return false;
  }
  for (const std::string &problem : listing.Problems(capture, !capture))
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, problem.c_str());
  return true;
}
