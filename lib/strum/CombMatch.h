#pragma once

#include "PartialMask.h"
#include "PeakList.h"
#include "measure/HarmonicString.h"

namespace Strum {

using Measure::HarmonicString;

// The stiff-string comb near a candidate pitch that the most peak weight
// agrees with. Every peak that could be one of the first partials, given
// the candidate's error (a few cents) and any B a guitar string may have,
// votes for the f0 it implies under each B of a grid; the (f0, B) that
// gathers the most weight, each partial counted once and within a third of
// the window's resolution, wins. A peak within `separation` of a masked
// string's partial does not vote. False when no peak votes.
bool MatchComb(const PeakList &peaks, double candidate, double resolution, const PartialMask &mask,
               double separation, HarmonicString *model);

}  // namespace Strum
