#pragma once

#include <array>

namespace drovane {

// A guitar's six open strings in standard tuning, as MIDI notes, lowest
// first: E2 A2 D3 G3 B3 E4. The phone knew no other tuning.
inline constexpr std::array<int, 6> kStandardTuning{40, 45, 50, 55, 59, 64};

}  // namespace drovane
