#pragma once

#include "AmdfTable.h"

// The estimator's choice of a whole-sample period from a coarse table.
namespace Amdf {

// Favours periods within two semitones of the previous note: scales those
// entries by 0.65 at the centre of the range rising to 1 at its edges. With
// no previous note (0) every entry is scaled by 0.65. Entries are truncated.
void WeightAround(Table table, double previousNote, double reference);

// The bottom of the first dip that reaches well below the table's mean and
// stands deep enough under the ridge before it: a period in whole samples,
// or 0. The dip must be 100 deep when a previous pitch is held, else 200.
int PickPeriod(const Table table, bool hadPrevious);

}  // namespace Amdf
