#include "AmdfTable.h"

#include <cmath>
#include <cstdlib>

#include "SimdClones.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define DROVANE_AVX2_TABLE 1
#endif

namespace Amdf {

DROVANE_SIMD_CLONES
int16_t Level(const int16_t *x) {
  int64_t s = 0;
  for (int i = 0; i < kLevelLength; ++i) s += int32_t{x[i]} * x[i];
  const int64_t m = s / kLevelLength;
  // A correctly rounded square root of an integer below 2^53 truncates to
  // the exact integer root.
  const double r = std::trunc(std::sqrt(static_cast<double>(m)));
  if (r < 1) return 1;
  if (r > 32767) return 32767;
  return static_cast<int16_t>(r);
}

namespace {

void CoarseTablePlain(const int16_t *x, Table table) {
  for (int k = kMinLag; k < kTableSize; ++k) {
    const int16_t *y = x + k;
    int32_t s = 0;
    for (int j = 0; j < kDiffLength; ++j) s += std::abs(int32_t{y[j]} - int32_t{x[j]});
    table[k] = s / kDiffLength;
  }
}

#ifdef DROVANE_AVX2_TABLE
// |a − b| = max(a, b) − min(a, b); both are signed 16-bit, so pairs of them
// sum exactly into 32 bits with one multiply-add each. The last block of 16
// has only 10 differences: its other lanes compare a sample with itself.
__attribute__((target("avx2"))) void CoarseTableAvx2(const int16_t *x, Table table) {
  static_assert(kDiffLength == 250, "the tail mask assumes 15 blocks of 16 and 10 more");
  const __m256i ones = _mm256_set1_epi16(1);
  const __m256i tail = _mm256_setr_epi16(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 0, 0, 0, 0, 0);
  for (int k = kMinLag; k < kTableSize; ++k) {
    __m256i acc = _mm256_setzero_si256();
    for (int j = 0; j < 256; j += 16) {
      const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(x + j));
      __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(x + k + j));
      if (j == 240) b = _mm256_blendv_epi8(a, b, tail);
      const __m256i hi = _mm256_madd_epi16(_mm256_max_epi16(a, b), ones);
      const __m256i lo = _mm256_madd_epi16(_mm256_min_epi16(a, b), ones);
      acc = _mm256_add_epi32(acc, _mm256_sub_epi32(hi, lo));
    }
    __m128i s = _mm_add_epi32(_mm256_castsi256_si128(acc), _mm256_extracti128_si256(acc, 1));
    s = _mm_add_epi32(s, _mm_shuffle_epi32(s, 0x4E));
    s = _mm_add_epi32(s, _mm_shuffle_epi32(s, 0xB1));
    table[k] = _mm_cvtsi128_si32(s) / kDiffLength;
  }
}
#endif

}  // namespace

void CoarseTable(const int16_t *x, Table table) {
  for (int k = 0; k < kMinLag; ++k) table[k] = 0;
#ifdef DROVANE_AVX2_TABLE
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (avx2) return CoarseTableAvx2(x, table);
#endif
  CoarseTablePlain(x, table);
}

DROVANE_SIMD_CLONES
int32_t LagSum(const int16_t *x, int lag, int count) {
  const int16_t *y = x + lag;
  int32_t s = 0;
  for (int j = 0; j < count; ++j) s += std::abs(int32_t{x[j]} - int32_t{y[j]});
  return s;
}

}  // namespace Amdf
