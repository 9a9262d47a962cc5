#pragma once

#include <cstddef>
#include <memory>
#include <string>

typedef struct soxr *soxr_t;

// Converts mono sound from one sample rate to another with libsoxr's
// 20-bit-quality filter on one thread: flat (within 0.01 dB) to 91.3 % of the
// lower rate's Nyquist frequency (10 kHz at 22050 Hz), and everything from
// that Nyquist frequency up attenuated by well over 100 dB. The output keeps
// the input's timing: n samples in give n × out/in samples out once flushed.
// One thread at a time.
class RateConverter {
 public:
  // Null, with the reason in `error`, when the rates cannot be converted.
  static std::unique_ptr<RateConverter> Create(double inRate, double outRate, std::string *error);
  ~RateConverter();
  RateConverter(const RateConverter &) = delete;
  RateConverter &operator=(const RateConverter &) = delete;

  // Converts up to `inCount` samples of `in` into up to `outMax` of `out`;
  // `used` and `made` tell how many. With `in` null the input has ended and
  // what is still held is flushed out. False, with the reason in `error`,
  // if converting failed.
  bool Process(const float *in, size_t inCount, size_t *used, float *out, size_t outMax, size_t *made,
               std::string *error);

 private:
  explicit RateConverter(soxr_t soxr) : soxr_(soxr) {}

  soxr_t soxr_;
};
