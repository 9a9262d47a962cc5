#pragma once

#include <vector>

#include "PartialMask.h"
#include "PeakList.h"
#include "StringFit.h"
#include "StrumSpectrum.h"

namespace Strum {

// Pitches of a string looked for again in what the strings already chosen
// leave: their partials' peaks taken out of the list, the string's
// candidates summed and fitted on the rest. A string searched alone in the
// whole spectrum may settle on a comb of other strings' partials (a low C
// whose fundamental the microphone took, fitted to G2's and C3's partials
// 11 cents from its own); once those are explained, the comb left is its.
// `explained` holds the chosen strings; a peak within `width` hertz of one
// of their partials is theirs. Returns the fits whose pitch lies in
// [lowest, highest) hertz that read three of their first eight partials,
// not all at multiples of one number: what is left of a strum is also the
// shared partials' remains, and a pitch made of those is no string.
std::vector<StringFit> SearchResidual(const StrumSpectrum &spectrum, const PeakList &peaks,
                                      const PartialMask &explained, double width, double separation, double lowest,
                                      double highest);

// The peaks no string of `explained` has a partial within `width` hertz
// of, nor is a sidelobe (20 dB weaker, within `reach` hertz) of one that has.
PeakList Unexplained(const PeakList &peaks, const PartialMask &explained, double width, double reach);

}  // namespace Strum
