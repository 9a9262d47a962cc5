#pragma once

#include <span>
#include <string>
#include <string_view>

#include "ScalaScale.h"

// What --temperament and --temperament-root name.
namespace Measure {

struct NamedTemperament {
  const char *name;
  const char *description;
  const char *scala;  // the scale, as a Scala file's text
};

// The temperaments known by name, "equal" first: equal, just (5-limit),
// pythagorean, quarter-comma-meantone, werckmeister-3.
std::span<const NamedTemperament> NamedTemperaments();

// A name of NamedTemperaments (any case; a file of that name is reached as
// ./name), else the Scala file at that path. False, with the reason naming
// the file and line.
bool ParseTemperament(std::string_view text, ScalaScale *out, std::string *why);

// A note name without octave, as C, F#, Bb (# b or the signs, any case):
// its pitch class, 0 = C … 11 = B. False, with the reason.
bool ParseTemperamentRoot(std::string_view text, int *pitchClass, std::string *why);

// "equal (the default), just, ...", for messages and --help.
std::string DescribeTemperamentChoices();
// One line per named temperament with its description, for --help.
std::string DescribeNamedTemperaments();

}  // namespace Measure
