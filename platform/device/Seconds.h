#pragma once

#include <chrono>

#include "kernel/Clock.h"

namespace platform::device {

// Seconds as the device's options and scripts give them, on the clock.
inline Time Seconds(double s) { return std::chrono::duration_cast<Time>(std::chrono::duration<double>(s)); }

}  // namespace platform::device
