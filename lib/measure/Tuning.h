#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

// The open-string notes of a six-string guitar: what the string keys, the
// reference tones and the strum check aim at. It sits beside the note names
// so that the tuner, the tools and the strum check share one list without
// depending on each other.
namespace Measure {

// Six MIDI notes, string 1 (the lowest, thickest) first. The default is the
// phone's standard tuning E2 A2 D3 G3 B3 E4.
struct Tuning {
  std::array<int, 6> notes{40, 45, 50, 55, 59, 64};

  bool operator==(const Tuning &) const = default;
};

struct NamedTuning {
  const char *name;
  Tuning tuning;
};

// The tunings known by name, "standard" first.
std::span<const NamedTuning> NamedTunings();

// Reads a tuning: a name of NamedTunings (any case), or six notes separated
// by spaces or commas, string 1 first, each no lower than the one before
// (a list written high to low is refused, not turned round). A note is a
// MIDI number or a name (NoteName.h), all in one octave naming: the tuner's
// own when a name has a negative octave, else scientific. Notes lie within
// C1…C6 (24…84). Blanks around the whole are ignored. On failure leaves *out
// alone and puts in *why what was wrong, for the user ("expected one of
// standard, …" when it is no tuning at all).
bool ParseTuning(std::string_view text, Tuning *out, std::string *why);

// The six notes as scientific names, e.g. "E2 A2 D3 G3 B3 E4".
std::string DescribeNotes(const Tuning &tuning);

// What a tuning may be, for a message: "one of standard, drop-d, …, or six
// notes lowest first between C1 (32.70 Hz) and C6 (1046.50 Hz) …".
std::string DescribeTuningChoices();

// How a tuning of one's own is written, a paragraph for --help.
std::string DescribeTuningRules();

// One line per named tuning, e.g. "  drop-d           D2 A2 D3 G3 B3 E4",
// for --help.
std::string DescribeNamedTunings();

}  // namespace Measure
