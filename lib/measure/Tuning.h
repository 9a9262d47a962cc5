#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "StringNotes.h"

// The open strings of a fretted instrument: what the string keys, the
// reference tones and the strum check aim at. It sits beside the note names
// so that the tuner, the tools and the strum check share one list without
// depending on each other.
namespace Measure {

// 4 to 9 strings, string 1 first: the lowest, but for a re-entrant tuning
// (a ukulele's high G), whose first string lies above the second. Each
// string is a MIDI note and an offset in cents from it (a sweetened
// tuning: B3 a cent and a half flat), 0 unless one is written. The default
// is the phone's standard tuning E2 A2 D3 G3 B3 E4.
struct Tuning {
  static constexpr size_t kFewestStrings = 4;
  static constexpr size_t kMostStrings = StringNotes::kMost;

  StringNotes notes{40, 45, 50, 55, 59, 64};
  std::array<double, kMostStrings> offsets{};  // cents, by string; 0 past the last

  size_t Strings() const { return notes.size(); }
  bool operator==(const Tuning &) const = default;
};

struct NamedTuning {
  const char *name;
  Tuning tuning;
  const char *remark = nullptr;  // for --help, e.g. why string 1 is high
};

// The tunings known by name, "standard" first, the guitar's before the
// other instruments'.
std::span<const NamedTuning> NamedTunings();

// Reads a tuning: a name of NamedTunings (any case), or 4 to 9 strings
// separated by spaces or commas, string 1 first, each no lower than the one
// before, but for string 1, which may lie above string 2 (re-entrant); a
// list written high to low is refused, not turned round. A string is
//   NOTE [OFFSET]
// NOTE: a MIDI number, or a name (NoteName.h), all names in one octave
//   naming: the tuner's own when one has a negative octave, else
//   scientific; within A0…C6 (21…84).
// OFFSET: '+' or '-', then cents: one or two digits, and a '.' with one or
//   two more if wanted, at most 50 ("B3-1.5", "59+2", "B-1-1.5").
// Blanks around the whole are ignored. On failure leaves *out alone and
// puts in *why what was wrong, for the user ("expected one of standard, …"
// when it is no tuning at all).
bool ParseTuning(std::string_view text, Tuning *out, std::string *why);

// The strings as scientific names with their offsets, as ParseTuning reads
// them, e.g. "E2 A2 D3 G3 B3-1.5 E4".
std::string DescribeNotes(const Tuning &tuning);

// What a tuning may be, for a message: "one of standard, drop-d, …, or 4 to
// 9 notes, string 1 first, between A0 (27.50 Hz) and C6 (1046.50 Hz) …".
std::string DescribeTuningChoices();

// How a tuning of one's own is written, a paragraph for --help.
std::string DescribeTuningRules();

// One line per named tuning, e.g. "  drop-d           D2 A2 D3 G3 B3 E4",
// for --help.
std::string DescribeNamedTunings();

}  // namespace Measure
