#pragma once

#include <cstdint>

// Integer kernels of the main-tone estimator: the level gate and the coarse
// average magnitude difference table. Results are exact integers, so any
// summation order gives the same values. Samples are 16-bit mono PCM at the
// program's one rate (base/SoundFormat.h).
namespace Amdf {

inline constexpr int kTableSize = 500;   // lags 0…499
inline constexpr int kMinLag = 11;       // smallest lag searched
inline constexpr int kDiffLength = 250;  // differences averaged per coarse lag
inline constexpr int kLevelLength = 500; // samples in the level

using Table = int32_t[kTableSize];

// Root mean square of x[0…499], truncated, at least 1. 32767 at most: a window
// of full-scale negative DC would give 32768, which a 16-bit level cannot hold.
int16_t Level(const int16_t *x);

// D[k] = (Σ_{j<250} |x[j+k] − x[j]|) div 250 for k = 11…499, 0 below. Reads
// x[0…754] (the vector kernel reads past the last difference).
void CoarseTable(const int16_t *x, Table table);

// Σ_{j<count} |x[j] − x[j+lag]|, exactly, for count ≤ 32768 (the sum then
// fits 32 bits). Reads x[0…count+lag−1].
int32_t LagSum(const int16_t *x, int lag, int count);

}  // namespace Amdf
