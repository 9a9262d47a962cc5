#include "PortRecording.h"

#include <sndfile.h>

#include <algorithm>

PortRecording::PortRecording(jack_nframes_t length, jack_nframes_t rate) : frames_(length), rate_(rate) {}

bool PortRecording::Process(float *buffer, jack_nframes_t frames) {
  const auto taken = std::min<jack_nframes_t>(frames, static_cast<jack_nframes_t>(frames_.size()) - recorded_);
  std::copy_n(buffer, taken, frames_.begin() + recorded_);
  recorded_ += taken;
  return recorded_ == frames_.size();
}

bool PortRecording::Write(const std::string &path, std::string *error) const {
  SF_INFO info{};
  info.samplerate = static_cast<int>(rate_);
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE *file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) {
    *error = path + ": " + sf_strerror(nullptr);
    return false;
  }
  const sf_count_t count = recorded_;
  const bool written = sf_write_float(file, frames_.data(), count) == count;
  if (!written) *error = path + ": " + sf_strerror(file);
  return sf_close(file) == 0 && written;
}
