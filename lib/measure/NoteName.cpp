#include "NoteName.h"

#include <cctype>
#include <charconv>
#include <cstdio>

#include "MidiTypes.h"

namespace Measure {

namespace {

// The tuner's mixed accidentals: Eb and Bb read as guitarists name them.
const char *const kClassNames[12] = {"C", "C#", "D", "Eb", "E", "F", "F#", "G", "G#", "A", "Bb", "B"};

constexpr std::string_view kSharpSign = "\u266F", kFlatSign = "\u266D";

int FloorDiv12(int n) { return n >= 0 ? n / 12 : (n - 11) / 12; }

// Takes a sharp or flat off the front of `text`: +1, -1, or 0 for none.
int TakeAccidental(std::string_view *text) {
  for (const auto &[sign, step] : {std::pair{std::string_view("#"), 1}, {std::string_view("b"), -1},
                                   {kSharpSign, 1}, {kFlatSign, -1}}) {
    if (text->starts_with(sign)) {
      text->remove_prefix(sign.size());
      return step;
    }
  }
  return 0;
}

}  // namespace

std::optional<WrittenNote> ReadNoteName(std::string_view text) {
  static const int kLetterClass[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (text.empty()) return std::nullopt;
  const int letter = std::toupper(static_cast<unsigned char>(text[0])) - 'A';
  if (letter < 0 || letter > 6) return std::nullopt;
  text.remove_prefix(1);
  WrittenNote name;
  name.pitchClass = kLetterClass[letter] + TakeAccidental(&text);
  const char *end = text.data() + text.size();
  const auto [at, ec] = std::from_chars(text.data(), end, name.octave);
  if (text.empty() || ec != std::errc() || at != end || name.octave < -5 || name.octave > 9) return std::nullopt;
  return name;
}

bool FitsTunerNaming(const WrittenNote &name) { return name.octave < 0 || (name.octave >= 1 && name.octave <= 3); }
bool FitsScientificNaming(const WrittenNote &name) { return name.octave >= 0; }

int ScientificNote(const WrittenNote &name) { return (name.octave + 1) * 12 + name.pitchClass; }

int TunerNote(const WrittenNote &name) {
  const int c = name.octave < 0 ? (name.octave + 5) * 12 : 60 + (name.octave - 1) * 12;
  return c + name.pitchClass;
}

std::string ScientificName(int note) {
  return kClassNames[note - 12 * FloorDiv12(note)] + std::to_string(FloorDiv12(note) - 1);
}

std::string TunerName(int note) {
  const int octave = FloorDiv12(note);
  const int label = note < 60 ? octave - 5 : octave - 4;
  return kClassNames[note - 12 * octave] + std::to_string(label);
}

std::string NameWithHertz(int note) {
  char hertz[32];
  std::snprintf(hertz, sizeof hertz, " (%.2f Hz)", FrequencyFromNote(note, 440.0));
  return ScientificName(note) + hertz;
}

}  // namespace Measure
