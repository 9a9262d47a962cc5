#pragma once

#include <array>
#include <string>
#include <string_view>

// A scale as a Scala file (.scl) gives it, for temperaments: the pitches of
// degrees 1 to 12 above degree 0 (the root, 0 cents), the last being the
// octave the scale repeats at. The file is the published format:
//   ! comment lines start with '!', anywhere
//   a description (the first line that is no comment; it may be empty)
//   the number of pitches, 12 here (text after it is ignored)
//   the pitches, one a line: a value with a '.' is cents ("386.314"),
//   otherwise a ratio ("5/4") or a whole number ("2", 2/1); text after the
//   value is ignored
// The tuner names twelve notes to the octave, so a scale must have twelve
// pitches, each above the one before, the last between 1100 and 1300 cents
// (2/1 is 1200; a stretched or shrunk octave is allowed). Blank lines after
// the description are skipped; a line ending in CR is read without it.
namespace Measure {

struct ScalaScale {
  static constexpr int kPitches = 12;

  std::string description;
  std::array<double, kPitches> cents{};  // degrees 1…12
};

// Reads the text of a file called `name` (for messages); false, with the
// reason naming the file and line ("just.scl line 7: ..."), when it is no
// scale the tuner takes.
bool ReadScala(std::string_view text, const std::string &name, ScalaScale *out, std::string *why);

// Reads the file at `path`; also false when it cannot be read.
bool LoadScala(const std::string &path, ScalaScale *out, std::string *why);

}  // namespace Measure
