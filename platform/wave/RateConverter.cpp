#include "RateConverter.h"

#include <soxr.h>

std::unique_ptr<RateConverter> RateConverter::Create(double inRate, double outRate, std::string *error) {
  const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
  const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
  const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
  soxr_error_t failure = nullptr;
  const soxr_t soxr = soxr_create(inRate, outRate, 1, &failure, &io, &quality, &runtime);
  if (!soxr) {
    *error = std::string("cannot convert the sample rate: ") + soxr_strerror(failure);
    return nullptr;
  }
  return std::unique_ptr<RateConverter>(new RateConverter(soxr));
}

RateConverter::~RateConverter() { soxr_delete(soxr_); }

bool RateConverter::Process(const float *in, size_t inCount, size_t *used, float *out, size_t outMax, size_t *made,
                            std::string *error) {
  *used = *made = 0;
  if (const soxr_error_t failure = soxr_process(soxr_, in, in ? inCount : 0, used, out, outMax, made)) {
    *error = failure;
    return false;
  }
  return true;
}
