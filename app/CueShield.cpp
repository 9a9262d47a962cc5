#include "CueShield.h"

#include "filters/RCVectorMediaSample.h"
#include "general/rcvector.h"

CueShield::CueShield(UninitCaller *root, uint32_t samplesPerSecond, const SampleDelegate &next)
    : filter_(kCornerHertz, samplesPerSecond),
      next_(next),
      resident_(root, this, MakeDelegate<void()>(this, &CueShield::Uninit)) {}

void CueShield::OnSample(AV::IMediaSample *sample) {
  const uint8_t *data = nullptr;
  uint32_t bytes = 0;
  sample->GetData(&data, &bytes);
  const int count = static_cast<int>(bytes / sizeof(int16_t));
  RCPtr<rcvector<short>> copy = MakeRC<rcvector<short>>(static_cast<size_t>(count), short(0));
  filter_.Process(reinterpret_cast<const int16_t *>(data), copy->data(), count);
  RCPtr<AV::IMediaSample> filtered(new RCVectorMediaSample(copy.get()));
  next_(filtered.get());
}
