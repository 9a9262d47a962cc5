#pragma once

// Hot integer and double kernels are built twice on x86-64, for AVX2 and for
// the baseline, and the loader picks one. Both clones do the same arithmetic
// per element; only the width of the vectors differs. Not under
// ThreadSanitizer, which instruments the loader's pick too, and that runs
// before the sanitizer is set up.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
#define DROVANE_SIMD_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define DROVANE_SIMD_CLONES
#endif
