#pragma once

#include <vector>

namespace material {

// A take as sound at the tuner's rate, in arbitrary units before scaling:
// everything together, and each string of the instrument alone (as if the
// others were not there: no coupling, no other string's sound).
struct Rendered {
  std::vector<double> mix;
  std::vector<std::vector<double>> alone;
  // Per pluck of the score: the first partial's settled frequency where the
  // source knows it exactly (the string model), else 0.
  std::vector<double> hertz;
};

}  // namespace material
