#include "PlayedTone.h"

#include <cmath>
#include <numbers>

PlayedTone::PlayedTone(double frequency, double amplitude, jack_nframes_t length, jack_nframes_t rate)
    : frequency_(frequency), amplitude_(amplitude), length_(length), rate_(rate) {}

float PlayedTone::Sample(double frequency, double amplitude, jack_nframes_t n, jack_nframes_t rate) {
  return static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * frequency * n / rate));
}

bool PlayedTone::Process(float *buffer, jack_nframes_t frames) {
  const bool over = next_ >= length_;
  for (jack_nframes_t i = 0; i < frames; ++i)
    buffer[i] = next_ < length_ ? Sample(frequency_, amplitude_, next_++, rate_) : 0.0f;
  return over;
}
