#pragma once

namespace Measure {

// How the estimator refines a whole-sample period to a fraction of a sample.
// kPhone is the phone's own method, kept bit for bit; kPrecise departs from
// it for readings within a fraction of a cent. Everything else (gates,
// period choice, tracking, smoothing, levels) is the same in both.
enum class Refinement { kPhone, kPrecise };

}  // namespace Measure
