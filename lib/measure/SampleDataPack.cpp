#include "SampleDataPack.h"

#include "general/AssertionRecord.h"

HRESULT GetSampleSPLResults(AV::IMediaSample *sample, const Measure::Result **records, unsigned int *count) {
  if (!Check(sample != nullptr, "SampleDataPack", 11, "GetSampleSPLResults")) return E_INVALIDARG;
  const uint8_t *data = nullptr;
  uint32_t bytes = 0;
  sample->GetData(&data, &bytes);
  if (!Check(bytes != 0, "SampleDataPack", 14, "GetSampleSPLResults")) return E_UNEXPECTED;
  if (records) *records = reinterpret_cast<const Measure::Result *>(data);
  if (count) *count = bytes / sizeof(Measure::Result);
  return 0;
}
