#pragma once

#include <cstdint>

#include "MeasureResult.h"
#include "filters/IMediaSample.h"
#include "filters/Status.h"

// Reads the records of a result sample: count = bytes ÷ 16. The records stay
// owned by the sample. A null sample gives E_INVALIDARG, an empty one
// E_UNEXPECTED (both record a failed check).
HRESULT GetSampleSPLResults(AV::IMediaSample *sample, const Measure::Result **records, unsigned int *count);
