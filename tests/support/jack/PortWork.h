#pragma once

// What a test client does with its port's buffer, period by period, while
// the port is connected.
#include <jack/jack.h>

class PortWork {
 public:
  virtual ~PortWork() = default;
  // On JACK's process thread: no locks, no allocation, no system calls.
  // True once the work is finished.
  virtual bool Process(float *buffer, jack_nframes_t frames) = 0;
};
