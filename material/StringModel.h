#pragma once

#include <cstdint>

#include "Body.h"
#include "ModalString.h"
#include "Rendered.h"
#include "Score.h"

namespace material {

// An instrument of modal strings (ModalString) on one body: each pluck a
// string of its own seed, each string's sound through the body; in the mix
// each string also drives the others through the bridge, so a string's
// modes that lie on another's partials ring with them (sympathetically,
// weakly when it is muted).
class StringModel {
 public:
  StringModel(StringKind kind, uint64_t seed);

  Rendered Render(const Score &score) const;

 private:
  void Couple(const Score &score, const std::vector<ModalString> &strings, const std::vector<size_t> &starts,
              const std::vector<size_t> &ends, const std::vector<std::vector<double>> &dry,
              std::vector<double> *mix) const;

  StringKind kind_;
  uint64_t seed_;
  Body body_;
};

}  // namespace material
