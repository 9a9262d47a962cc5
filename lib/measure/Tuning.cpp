#include "Tuning.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "NoteName.h"
#include "StringToken.h"

namespace Measure {

namespace {

constexpr int kLowestNote = 21;   // A0: below a five-string bass's B0
constexpr int kHighestNote = 84;  // C6

constexpr NamedTuning kNamed[] = {
    {"standard", {{40, 45, 50, 55, 59, 64}}},
    {"drop-d", {{38, 45, 50, 55, 59, 64}}},
    {"half-step-down", {{39, 44, 49, 54, 58, 63}}},
    {"whole-step-down", {{38, 43, 48, 53, 57, 62}}},
    {"drop-c", {{36, 43, 48, 53, 57, 62}}},
    {"dadgad", {{38, 45, 50, 55, 57, 62}}},
    {"open-d", {{38, 45, 50, 54, 57, 62}}},
    {"open-g", {{38, 43, 50, 55, 59, 62}}},
    {"open-e", {{40, 47, 52, 56, 59, 64}}},
    {"open-c", {{36, 43, 48, 55, 60, 64}}},
    {"seven-string", {{35, 40, 45, 50, 55, 59, 64}}},
    {"baritone", {{35, 40, 45, 50, 54, 59}}},
    {"bass-4", {{28, 33, 38, 43}}},
    {"bass-5", {{23, 28, 33, 38, 43}}},
    {"bass-6", {{23, 28, 33, 38, 43, 48}}},
    {"ukulele", {{67, 60, 64, 69}}, "re-entrant: the G above the C"},
    {"ukulele-low-g", {{55, 60, 64, 69}}},
    {"mandolin", {{55, 62, 69, 76}}, "each pair of strings as one"},
    {"banjo", {{67, 50, 55, 59, 62}}, "re-entrant: the short fifth string first"},
};

constexpr std::string_view kBlanks = " \t";

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::vector<std::string_view> SplitStrings(std::string_view text) {
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

std::string StringRange() {
  return "between " + NameWithHertz(kLowestNote) + " and " + NameWithHertz(kHighestNote) +
         " in scientific pitch notation (" + TunerName(kLowestNote) + " and " + TunerName(kHighestNote) +
         " in the tuner's own naming, MIDI " + std::to_string(kLowestNote) + " and " + std::to_string(kHighestNote) +
         ")";
}

// "-1.5", "+2": an offset as ParseTuning reads it.
std::string OffsetText(double cents) {
  char text[16];
  std::snprintf(text, sizeof text, "%+.2f", cents);
  std::string s = text;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

// Reads the strings; false, with the reason, when one is none or the names
// ask for both namings. *tunerNaming: the names are the tuner's own.
bool ReadTokens(const std::vector<std::string_view> &texts, std::vector<StringToken> *tokens, bool *tunerNaming,
                std::string *why) {
  for (std::string_view text : texts) {
    StringToken t;
    if (!ReadStringToken(text, &t, why)) return false;
    tokens->push_back(t);
  }
  const StringToken *tuner = nullptr, *scientific = nullptr;
  for (const StringToken &t : *tokens) {
    if (t.name && !FitsScientificNaming(*t.name) && !tuner) tuner = &t;
    if (t.name && !FitsTunerNaming(*t.name) && !scientific) scientific = &t;
  }
  if (tuner && scientific) {
    *why = QuoteToken(tuner->text) + " is in the tuner's own octave naming and " + QuoteToken(scientific->text) +
           " in scientific pitch notation: write every note in one (the tuner's own has no octave 0 and names E2 as "
           "E-2, C4 as C1)";
    return false;
  }
  *tunerNaming = tuner != nullptr;
  return true;
}

// The strings of `tokens`; false, with the reason, when a note lies outside
// the strings' range.
bool ToStrings(const std::vector<StringToken> &tokens, bool tunerNaming, Tuning *tuning, std::string *why) {
  tuning->notes = {};
  for (size_t i = 0; i < tokens.size(); ++i) {
    const StringToken &t = tokens[i];
    const int note = t.number ? *t.number : tunerNaming ? TunerNote(*t.name) : ScientificNote(*t.name);
    if (note < kLowestNote || note > kHighestNote) {
      const bool named = note >= 0 && note <= 127;
      *why = QuoteToken(t.text) + (t.name && tunerNaming ? ", in the tuner's own octave naming," : "") +
             (named ? " is " + NameWithHertz(note) : " is no string's note") + ": the strings lie " + StringRange();
      return false;
    }
    tuning->notes.push_back(note);
    tuning->offsets[i] = t.offset;
  }
  return true;
}

// False, with the reason, when a string after the first lies below the one
// before (string 1 may lie above string 2: a re-entrant tuning).
bool Rising(const Tuning &tuning, std::string *why) {
  const StringNotes &notes = tuning.notes;
  const auto falls = std::adjacent_find(notes.begin() + 1, notes.end(), std::greater<int>());
  if (falls == notes.end()) return true;
  if (std::is_sorted(std::make_reverse_iterator(notes.end()), std::make_reverse_iterator(notes.begin()))) {
    Tuning turned;
    turned.notes = {};
    for (size_t s = notes.size(); s-- > 0;) {
      turned.offsets[turned.notes.size()] = tuning.offsets[s];
      turned.notes.push_back(notes[s]);
    }
    *why = "the strings go from high to low; give string 1, the lowest, first, as \"" + DescribeNotes(turned) + "\"";
    return false;
  }
  const int s = static_cast<int>(falls - notes.begin()) + 1;
  *why = "string " + std::to_string(s + 1) + " (" + ScientificName(*(falls + 1)) + ") lies below string " +
         std::to_string(s) + " (" + ScientificName(*falls) +
         "): give the strings lowest first (only string 1 may lie higher, as a ukulele's G4 C4 E4 A4)";
  return false;
}

}  // namespace

std::span<const NamedTuning> NamedTunings() { return kNamed; }

bool ParseTuning(std::string_view text, Tuning *out, std::string *why) {
  text = Trimmed(text);
  for (const NamedTuning &t : kNamed)
    if (SameName(text, t.name)) return *out = t.tuning, true;
  const std::vector<std::string_view> texts = SplitStrings(text);
  if (texts.size() < Tuning::kFewestStrings || texts.size() > Tuning::kMostStrings) {
    *why = "expected " + DescribeTuningChoices();
    return false;
  }
  std::vector<StringToken> tokens;
  bool tunerNaming = false;
  Tuning parsed;
  if (!ReadTokens(texts, &tokens, &tunerNaming, why) || !ToStrings(tokens, tunerNaming, &parsed, why) ||
      !Rising(parsed, why))
    return false;
  *out = parsed;
  return true;
}

std::string DescribeTuningChoices() {
  return "one of " + NameList() + ", or 4 to 9 notes, string 1 first, " + StringRange() +
         ", e.g. \"D2 A2 D3 G3 B3 E4\", \"D-2 A-2 D-1 G-1 B-1 E1\" or 38,45,50,55,59,64";
}

std::string DescribeTuningRules() {
  return "A tuning of your own is 4 to 9 notes, string 1 first, apart by spaces or\n"
         "commas: MIDI numbers, or names with # or b for sharps and flats (or the\n"
         "signs themselves), in scientific pitch notation (E2 A2 D3 G3 B3 E4) or in\n"
         "the tuner's own octave naming (E-2 A-2 D-1 G-1 B-1 E1), which is meant\n"
         "when a name has a negative octave; otherwise the names are scientific.\n"
         "The notes lie between " + NameWithHertz(kLowestNote) + " and " + NameWithHertz(kHighestNote) + ", " +
         TunerName(kLowestNote) + " and " + TunerName(kHighestNote) +
         " in the\n"
         "tuner's own naming. String 1 is the lowest, and each string lies no lower\n"
         "than the one before, but for string 1 of a re-entrant tuning, which may\n"
         "lie above string 2 (G4 C4 E4 A4); a list from high to low is refused.\n"
         "A note may carry an offset in cents, its sign first, for a sweetened\n"
         "tuning: B3-1.5, 59+2, B-1-1.5 (at most 50, two decimals); the string is\n"
         "then read and its tone played that far from its note.\n";
}

std::string DescribeNotes(const Tuning &tuning) {
  std::string text;
  for (size_t s = 0; s < tuning.notes.size(); ++s) {
    if (!text.empty()) text += ' ';
    text += ScientificName(tuning.notes[s]);
    if (tuning.offsets[s] != 0) text += OffsetText(tuning.offsets[s]);
  }
  return text;
}

std::string DescribeNamedTunings() {
  std::string text;
  for (const NamedTuning &t : kNamed) {
    std::string line(19, ' ');
    line.replace(2, std::string_view(t.name).size(), t.name);
    text += line + DescribeNotes(t.tuning) + (t.remark ? std::string(" (") + t.remark + ")" : "") + "\n";
  }
  return text;
}

}  // namespace Measure
