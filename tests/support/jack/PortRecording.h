#pragma once

// What reaches an input port, kept in memory made beforehand (the process
// thread never allocates) until it holds the length asked for, then written
// to a float WAV file, so the test reads JACK's samples exactly.
#include <string>
#include <vector>

#include "PortWork.h"

class PortRecording : public PortWork {
 public:
  PortRecording(jack_nframes_t length, jack_nframes_t rate);

  bool Process(float *buffer, jack_nframes_t frames) override;
  jack_nframes_t Recorded() const { return recorded_; }
  // Writes what was recorded; false with the reason in `error`.
  bool Write(const std::string &path, std::string *error) const;

 private:
  std::vector<float> frames_;
  jack_nframes_t rate_;
  jack_nframes_t recorded_ = 0;
};
