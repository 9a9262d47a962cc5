#pragma once

#include <vector>

namespace material {

// x convolved with h, as long as x (the tail past x's end is dropped), by
// overlap-add with a radix-2 transform.
std::vector<double> Convolve(const std::vector<double> &x, const std::vector<double> &h);

}  // namespace material
