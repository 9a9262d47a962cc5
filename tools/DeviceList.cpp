#include "DeviceList.h"

#include <cstdio>

#include "phone/Phone.h"
#include "wave/WaveDevices.h"

bool ListDevices(bool capture, std::string *error) {
  platform::Phone phone(platform::ClockKind::Real);
  const std::vector<std::string> devices = platform::wave::ListDeviceWords(capture, error);
  for (const std::string &device : devices) std::printf("%s\n", device.c_str());
  return !devices.empty() || error->empty();
}
