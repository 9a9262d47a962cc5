#include "TemperamentChoice.h"

#include <cctype>

#include "NoteName.h"

namespace Measure {

namespace {

// The fifths of the meantones and of Werckmeister's are no ratios of whole
// numbers: their pitches are written in cents, to a millionth.
constexpr NamedTemperament kNamed[] = {
    {"equal", "twelve equal semitones, the phone's (the default)",
     "Equal temperament\n12\n100.0\n200.0\n300.0\n400.0\n500.0\n600.0\n700.0\n800.0\n900.0\n1000.0\n1100.0\n2/1\n"},
    {"just", "5-limit just intonation: pure thirds and fifths",
     "5-limit just intonation\n12\n16/15\n9/8\n6/5\n5/4\n4/3\n45/32\n3/2\n8/5\n5/3\n9/5\n15/8\n2/1\n"},
    {"pythagorean", "pure fifths, from Eb to G# with the root C",
     "Pythagorean\n12\n2187/2048\n9/8\n32/27\n81/64\n4/3\n729/512\n3/2\n6561/4096\n27/16\n16/9\n243/128\n2/1\n"},
    {"quarter-comma-meantone", "fifths a quarter comma narrow: pure major thirds",
     "Quarter-comma meantone\n12\n76.048999\n193.156857\n310.264715\n386.313714\n503.421572\n579.470571\n"
     "696.578428\n772.627428\n889.735285\n1006.843143\n1082.892142\n2/1\n"},
    {"werckmeister-3", "Werckmeister III, a well temperament",
     "Werckmeister III\n12\n90.224996\n192.179997\n294.134997\n390.224996\n498.044999\n588.269995\n"
     "696.089998\n792.179997\n888.269995\n996.089998\n1092.179997\n2/1\n"},
};

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace

std::span<const NamedTemperament> NamedTemperaments() { return kNamed; }

bool ParseTemperament(std::string_view text, ScalaScale *out, std::string *why) {
  for (const NamedTemperament &t : kNamed)
    if (SameName(text, t.name)) return ReadScala(t.scala, t.name, out, why);
  if (text.empty()) {
    *why = "expected " + DescribeTemperamentChoices();
    return false;
  }
  return LoadScala(std::string(text), out, why);
}

bool ParseTemperamentRoot(std::string_view text, int *pitchClass, std::string *why) {
  // A name with an octave the root's needs not: "C4" reads as C and 4.
  const std::optional<WrittenNote> name = ReadNoteName(std::string(text) + "4");
  if (!name || text.empty() || text.back() == '-') {
    *why = "expected a note name without octave: C, C#, Db, D, ... B (# b or the sharp and flat signs)";
    return false;
  }
  *pitchClass = (name->pitchClass + 12) % 12;
  return true;
}

std::string DescribeTemperamentChoices() {
  std::string text;
  for (const NamedTemperament &t : kNamed) text += std::string(t.name) + ", ";
  return text + "or a Scala file (.scl) of 12 pitches to the octave";
}

std::string DescribeNamedTemperaments() {
  std::string text;
  for (const NamedTemperament &t : kNamed) {
    std::string line(26, ' ');
    line.replace(2, std::string_view(t.name).size(), t.name);
    text += line + t.description + "\n";
  }
  return text;
}

}  // namespace Measure
