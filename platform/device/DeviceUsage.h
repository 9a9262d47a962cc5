#pragma once

#include <string>

#include "device/ProgramCommandLine.h"

namespace platform::device {

// The --help text of the device run by `program`, with the program's own
// options listed apart under their heading.
std::string DeviceUsage(const std::string &program, const ProgramOptions &programOptions);

}  // namespace platform::device
