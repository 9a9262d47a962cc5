#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "NoteName.h"

namespace Measure {

// One string of a tuning as written: a note, then perhaps its offset in
// cents ("B3-1.5", "59+2", "E-2", "B-1-1.5"; Tuning.h has the grammar).
// Whether a name is scientific or the tuner's own is for the whole tuning
// to say, so the name is kept as written.
struct StringToken {
  std::string_view text;
  std::optional<int> number;        // a MIDI number,
  std::optional<WrittenNote> name;  // or a name
  double offset = 0;                // cents
};

inline constexpr double kMostOffset = 50;  // cents: further is nearer another note

// Reads `text`; false, with the reason for the user, when it is no string.
bool ReadStringToken(std::string_view text, StringToken *out, std::string *why);

// `text` in quotes for a message, a long one cut short.
std::string QuoteToken(std::string_view text);

}  // namespace Measure
