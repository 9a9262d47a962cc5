#pragma once

// Hot integer and double kernels are built twice on x86-64, for AVX2 and for
// the baseline, and the loader picks one. Both clones do the same arithmetic
// per element; only the width of the vectors differs.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define DROVANE_SIMD_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define DROVANE_SIMD_CLONES
#endif
