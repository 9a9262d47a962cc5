#include "Tuning.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <vector>

#include "NoteName.h"

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

std::optional<int> ParseInt(std::string_view text) {
  int value;
  const char *end = text.data() + text.size();
  auto [at, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || at != end) return std::nullopt;
  return value;
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

// A token quoted for a message, a long one cut short (at a character's start).
std::string Quote(std::string_view token) {
  constexpr size_t kLongest = 16;
  size_t cut = token.size() <= kLongest ? token.size() : kLongest - 4;
  while (cut < token.size() && cut > 0 && (static_cast<unsigned char>(token[cut]) & 0xC0) == 0x80) --cut;
  std::string quoted(1, '\'');
  quoted.append(token.substr(0, cut)).append(cut < token.size() ? "...'" : "'");
  return quoted;
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

// One note of a tuning as written: a MIDI number or a name.
struct Token {
  std::string_view text;
  std::optional<int> number;
  std::optional<WrittenNote> name;
};

// The names of `tokens` in the naming they ask for; false, with the reason,
// when they ask for both or a token is no note.
bool ReadTokens(const std::vector<std::string_view> &texts, std::vector<Token> *tokens, bool *tunerNaming,
                std::string *why) {
  const Token *tuner = nullptr, *scientific = nullptr;
  for (std::string_view text : texts) {
    Token t{text, ParseInt(text), ReadNoteName(text)};
    if (!t.number && !t.name) {
      *why = Quote(text) + " is no note (a MIDI number, or a letter A-G, a sharp or flat and an octave, as F#2)";
      return false;
    }
    tokens->push_back(t);
  }
  for (const Token &t : *tokens) {
    if (t.name && !FitsScientificNaming(*t.name)) tuner = tuner ? tuner : &t;
    if (t.name && !FitsTunerNaming(*t.name)) scientific = scientific ? scientific : &t;
  }
  if (tuner && scientific) {
    *why = Quote(tuner->text) + " is in the tuner's own octave naming and " + Quote(scientific->text) +
           " in scientific pitch notation: write every note in one (the tuner's own has no octave 0 and names E2 as "
           "E-2, C4 as C1)";
    return false;
  }
  *tunerNaming = tuner != nullptr;
  return true;
}

// The notes of `tokens`; false, with the reason, when one lies outside the
// strings' range.
bool ToNotes(const std::vector<Token> &tokens, bool tunerNaming, std::array<int, 6> *notes, std::string *why) {
  for (size_t i = 0; i < tokens.size(); ++i) {
    const Token &t = tokens[i];
    const int note = t.number ? *t.number : tunerNaming ? TunerNote(*t.name) : ScientificNote(*t.name);
    if (note < kLowestNote || note > kHighestNote) {
      const bool named = note >= 0 && note <= 127;
      *why = Quote(t.text) + (t.name && tunerNaming ? ", in the tuner's own octave naming," : "") +
             (named ? " is " + NameWithHertz(note) : " is no string's note") + ": the strings lie " + StringRange();
      return false;
    }
    (*notes)[i] = note;
  }
  return true;
}

// False, with the reason, when a string lies below the one before.
bool Rising(const std::array<int, 6> &notes, std::string *why) {
  const auto falls = std::adjacent_find(notes.begin(), notes.end(), std::greater<int>());
  if (falls == notes.end()) return true;
  if (std::is_sorted(notes.rbegin(), notes.rend())) {
    Tuning turned;
    std::reverse_copy(notes.begin(), notes.end(), turned.notes.begin());
    *why = "the strings go from high to low; give string 1, the lowest, first, as \"" + DescribeNotes(turned) + "\"";
    return false;
  }
  const int s = static_cast<int>(falls - notes.begin()) + 1;
  *why = "string " + std::to_string(s + 1) + " (" + ScientificName(*(falls + 1)) + ") lies below string " +
         std::to_string(s) + " (" + ScientificName(*falls) + "): give the strings lowest first";
  return false;
}

}  // namespace

std::span<const NamedTuning> NamedTunings() { return kNamed; }

bool ParseTuning(std::string_view text, Tuning *out, std::string *why) {
  text = Trimmed(text);
  for (const NamedTuning &t : kNamed)
    if (SameName(text, t.name)) return *out = t.tuning, true;
  const std::vector<std::string_view> texts = SplitNotes(text);
  Tuning parsed;
  if (texts.size() != parsed.notes.size()) {
    *why = "expected " + DescribeTuningChoices();
    return false;
  }
  std::vector<Token> tokens;
  bool tunerNaming = false;
  if (!ReadTokens(texts, &tokens, &tunerNaming, why) || !ToNotes(tokens, tunerNaming, &parsed.notes, why) ||
      !Rising(parsed.notes, why))
    return false;
  *out = parsed;
  return true;
}

std::string DescribeTuningChoices() {
  return "one of " + NameList() + ", or six notes lowest first " + StringRange() +
         ", e.g. \"D2 A2 D3 G3 B3 E4\", \"D-2 A-2 D-1 G-1 B-1 E1\" or 38,45,50,55,59,64";
}

std::string DescribeTuningRules() {
  return "A tuning of your own is six notes, string 1 (the lowest) first, apart by\n"
         "spaces or commas: MIDI numbers, or names with # or b for sharps and flats\n"
         "(or the signs themselves), in scientific pitch notation (E2 A2 D3 G3 B3 E4)\n"
         "or in the tuner's own octave naming (E-2 A-2 D-1 G-1 B-1 E1), which is\n"
         "meant when a name has a negative octave; otherwise the names are\n"
         "scientific. The notes lie between " + NameWithHertz(kLowestNote) + " and " + NameWithHertz(kHighestNote) +
         ",\n" + TunerName(kLowestNote) + " and " + TunerName(kHighestNote) +
         " in the tuner's own naming; a list from high to low is refused.\n";
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
