#pragma once

#include <cstdint>

namespace Strum {

// How much of a partial is left in the second half of a stretch: its
// amplitude there over its amplitude in the first half, each read by a
// Hann-windowed Fourier sum at `hertz`. A ringing string keeps most of it
// (its low partials lose a few decibels in a third of a second); a muted
// string's thud has all but died.
double Fading(const int16_t *samples, int count, double hertz);

}  // namespace Strum
