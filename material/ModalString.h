#pragma once

#include <cstdint>
#include <vector>

#include "Body.h"
#include "Score.h"

namespace material {

enum class StringKind { kGuitar, kBass };

// A plucked string by its modes, made to differ from the analyser's stiff
// string in every way a real one does:
// - each mode's frequency follows the stiff string's series with a
//   fourth-order dispersion term of its own, the body's pull near its
//   resonances and a small irregularity per mode (a wound string is not
//   uniform);
// - two polarisations a little apart in frequency (0.05–0.15 %), the one
//   across the top decaying two to three times faster, so partials beat;
// - losses that grow with frequency (air, internal friction) and near the
//   body's resonances (the bridge takes energy there);
// - the pluck's position and width in the modes' amplitudes;
// - the attack's pitch glide: every mode sharp by a few cents, falling as
//   the string's energy does (tension modulation);
// - a pick's click at the attack; a muted string's modes die within a
//   tenth of a second, with a thud of the finger's noise.
// The first partial's settled frequency, of the polarisation that rings
// on, is the note asked for exactly: that is the string's truth.
class ModalString {
 public:
  struct Mode {
    double hertz = 0;       // settled, the lasting polarisation
    double split = 0;       // the other polarisation's frequency, relative
    double amplitude = 0;
    double loss = 0;        // per second, the lasting polarisation
    double otherLoss = 0;   // the other one
    double share = 0;       // of the amplitude in the other polarisation
    double phase = 0, otherPhase = 0;
  };

  ModalString(const Pluck &pluck, double reference, StringKind kind, const Body &body, uint64_t seed);

  double FirstPartial() const { return modes_.empty() ? 0 : modes_.front().hertz; }
  double Inharmonicity() const { return b_; }
  const std::vector<Mode> &Modes() const { return modes_; }
  bool Muted() const { return muted_; }

  // Adds the string struck at sample `start` to out, until sample `end`,
  // where it is struck again and its sound stops within 5 ms.
  void Render(std::vector<double> *out, size_t start, size_t end) const;

 private:
  void MakeModes(double target, StringKind kind, const Body &body, double velocity, uint64_t seed);
  void RenderMode(const Mode &m, std::vector<double> *out, size_t start, size_t stop, size_t end) const;
  void RenderClick(std::vector<double> *out, size_t start, size_t stop) const;

  std::vector<Mode> modes_;
  double b_ = 0;
  double glide_ = 0, glideTime_ = 0.1;  // relative sharpening at the attack, and its time constant
  double click_ = 0, clickTime_ = 0.004;
  uint64_t seed_ = 0;
  bool muted_ = false;
};

}  // namespace material
