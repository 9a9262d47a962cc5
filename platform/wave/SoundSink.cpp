#include "wave/SoundSink.h"

#include <algorithm>
#include <vector>

#include "wave/SampleClock.h"

namespace platform::wave {

WavFileSink::WavFileSink(const std::string &path) {
  SF_INFO info{};
  info.samplerate = kRate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  file_ = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file_) error_ = "cannot write " + path + ": " + sf_strerror(nullptr);
}

WavFileSink::~WavFileSink() {
  if (file_) sf_close(file_);
}

void WavFileSink::Play(const int16_t *samples, size_t count) {
  if (file_) sf_write_short(file_, samples, static_cast<sf_count_t>(count));
}

void WavFileSink::Silence(size_t count) {
  const std::vector<int16_t> zeros(std::min<size_t>(count, 4096), 0);
  for (size_t left = count; left > 0;) {
    const size_t n = std::min(left, zeros.size());
    Play(zeros.data(), n);
    left -= n;
  }
}

}  // namespace platform::wave
