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

// Reads a tuning: a name of NamedTunings (any case) or six notes lowest first,
// as MIDI numbers or scientific names (E2 = 40, C4 = 60; '#' and 'b' accepted)
// separated by spaces or commas. Notes must lie within C1…C6 (24…84). On
// failure leaves *out alone and puts one line for the user in *error, listing
// the names.
bool ParseTuning(std::string_view text, Tuning *out, std::string *error);

// Scientific name of a MIDI note in the tuner's mixed accidentals, e.g. "E2",
// "F#3", "Bb3", "C-1".
std::string ScientificName(int note);

// The six notes as scientific names, e.g. "E2 A2 D3 G3 B3 E4".
std::string DescribeNotes(const Tuning &tuning);

// What a tuning may be, for a message: "one of standard, drop-d, …, or six
// notes lowest first between C1 and C6, e.g. …".
std::string DescribeTuningChoices();

// One line per named tuning, e.g. "  drop-d           D2 A2 D3 G3 B3 E4",
// for --help.
std::string DescribeNamedTunings();

}  // namespace Measure
