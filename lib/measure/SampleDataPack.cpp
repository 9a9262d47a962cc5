#include "SampleDataPack.h"

#include "general/CheckSites.h"

HRESULT GetSampleSPLResults(AV::IMediaSample *sample, const Measure::Result **records, unsigned int *count) {
  if (!Check(sample != nullptr, CheckSites::kResultsWithoutSample)) return E_INVALIDARG;
  const uint8_t *data = nullptr;
  uint32_t bytes = 0;
  sample->GetData(&data, &bytes);
  if (!Check(bytes != 0, CheckSites::kResultsWithoutData)) return E_UNEXPECTED;
  if (records) *records = reinterpret_cast<const Measure::Result *>(data);
  if (count) *count = bytes / sizeof(Measure::Result);
  return 0;
}
