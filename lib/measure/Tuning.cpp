#include "Tuning.h"

#include <cctype>
#include <charconv>
#include <vector>

namespace Measure {

namespace {

constexpr int kLowestNote = 24;   // C1: below any baritone's low string
constexpr int kHighestNote = 84;  // C6

constexpr NamedTuning kNamed[] = {
    {"standard", {{40, 45, 50, 55, 59, 64}}},        {"drop-d", {{38, 45, 50, 55, 59, 64}}},
    {"half-step-down", {{39, 44, 49, 54, 58, 63}}},  {"whole-step-down", {{38, 43, 48, 53, 57, 62}}},
    {"drop-c", {{36, 43, 48, 53, 57, 62}}},          {"dadgad", {{38, 45, 50, 55, 57, 62}}},
    {"open-d", {{38, 45, 50, 54, 57, 62}}},          {"open-g", {{38, 43, 50, 55, 59, 62}}},
    {"open-e", {{40, 47, 52, 56, 59, 64}}},          {"open-c", {{36, 43, 48, 55, 60, 64}}},
};

// The tuner's mixed accidentals: Eb and Bb read as guitarists name them.
const char *const kClassNames[12] = {"C", "C#", "D", "Eb", "E", "F", "F#", "G", "G#", "A", "Bb", "B"};

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

bool ParseInt(std::string_view text, int *value) {
  const char *end = text.data() + text.size();
  auto [at, ec] = std::from_chars(text.data(), end, *value);
  return ec == std::errc() && at == end;
}

// "E2", "f#3", "Bb1", "C-1": letter, optional accidental, octave (C4 = 60).
bool ParseNoteName(std::string_view text, int *note) {
  static const int kLetterClass[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (text.empty()) return false;
  const int letter = std::toupper(static_cast<unsigned char>(text[0])) - 'A';
  if (letter < 0 || letter > 6) return false;
  int pitchClass = kLetterClass[letter];
  text.remove_prefix(1);
  if (!text.empty() && (text[0] == '#' || text[0] == 'b')) {
    pitchClass += text[0] == '#' ? 1 : -1;
    text.remove_prefix(1);
  }
  int octave;
  if (text.empty() || !ParseInt(text, &octave) || octave < -1 || octave > 9) return false;
  *note = (octave + 1) * 12 + pitchClass;
  return true;
}

bool ParseNote(std::string_view token, int *note) {
  if (!ParseInt(token, note) && !ParseNoteName(token, note)) return false;
  return *note >= kLowestNote && *note <= kHighestNote;
}

std::vector<std::string_view> SplitNotes(std::string_view text) {
  std::vector<std::string_view> tokens;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find_first_of(" \t,", at);
    const size_t stop = end == std::string_view::npos ? text.size() : end;
    if (stop > at) tokens.push_back(text.substr(at, stop - at));
    at = stop + 1;
  }
  return tokens;
}

std::string NameList() {
  std::string list;
  for (const NamedTuning &t : kNamed) {
    if (!list.empty()) list += ", ";
    list += t.name;
  }
  return list;
}

}  // namespace

std::span<const NamedTuning> NamedTunings() { return kNamed; }

bool ParseTuning(std::string_view text, Tuning *out, std::string *error) {
  for (const NamedTuning &t : kNamed)
    if (SameName(text, t.name)) return *out = t.tuning, true;
  const std::vector<std::string_view> tokens = SplitNotes(text);
  Tuning parsed;
  bool valid = tokens.size() == parsed.notes.size();
  for (size_t i = 0; valid && i < tokens.size(); ++i) valid = ParseNote(tokens[i], &parsed.notes[i]);
  if (valid) return *out = parsed, true;
  *error = "unknown tuning \"" + std::string(text) + "\": give " + DescribeTuningChoices();
  return false;
}

std::string DescribeTuningChoices() {
  return "one of " + NameList() +
         ", or six notes lowest first between C1 and C6, e.g. \"D2 A2 D3 G3 B3 E4\" or 38,45,50,55,59,64";
}

std::string ScientificName(int note) {
  const int octave = (note >= 0 ? note / 12 : (note - 11) / 12) - 1;
  return kClassNames[(note % 12 + 12) % 12] + std::to_string(octave);
}

std::string DescribeNotes(const Tuning &tuning) {
  std::string text;
  for (int note : tuning.notes) {
    if (!text.empty()) text += ' ';
    text += ScientificName(note);
  }
  return text;
}

std::string DescribeNamedTunings() {
  std::string text;
  for (const NamedTuning &t : kNamed) {
    std::string line(19, ' ');
    line.replace(2, std::string_view(t.name).size(), t.name);
    text += line + DescribeNotes(t.tuning) + "\n";
  }
  return text;
}

}  // namespace Measure
