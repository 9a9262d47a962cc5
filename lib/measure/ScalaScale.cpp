#include "ScalaScale.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

namespace Measure {

namespace {

constexpr double kShortestOctave = 1100, kLongestOctave = 1300;

struct Line {
  int number;
  std::string_view text;
};

// The lines that are no comment, numbered from 1, without a CR at the end.
std::vector<Line> Lines(std::string_view text) {
  std::vector<Line> lines;
  int number = 0;
  for (size_t at = 0; at < text.size();) {
    const size_t end = std::min(text.find('\n', at), text.size());
    std::string_view line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++number;
    if (!line.starts_with('!')) lines.push_back({number, line});
    at = end + 1;
  }
  return lines;
}

// The first word of a line, after its leading blanks.
std::string_view FirstWord(std::string_view line) {
  const size_t start = line.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  line.remove_prefix(start);
  return line.substr(0, line.find_first_of(" \t"));
}

std::optional<long long> WholeNumber(std::string_view text) {
  long long value = 0;
  const char *end = text.data() + text.size();
  const auto [at, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0])) || ec != std::errc() || at != end)
    return std::nullopt;
  return value;
}

// "386.314", "-5.0", "100.": digits with one point, a sign first if wanted.
std::optional<double> Cents(std::string_view text) {
  const std::string_view digits = text.starts_with('-') || text.starts_with('+') ? text.substr(1) : text;
  if (digits.find_first_not_of("0123456789.") != std::string_view::npos || digits.find('.') != digits.rfind('.') ||
      digits.size() < 2)
    return std::nullopt;
  double value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return text.starts_with('-') ? -value : value;
}

// "5/4" or "2": a ratio of whole numbers, in cents; none for 0 in either.
std::optional<double> RatioCents(std::string_view text) {
  const size_t slash = text.find('/');
  const std::optional<long long> n = WholeNumber(text.substr(0, slash));
  const std::optional<long long> d = slash == std::string_view::npos ? 1 : WholeNumber(text.substr(slash + 1));
  if (!n || !d || *n == 0 || *d == 0) return std::nullopt;
  return 1200 * std::log2(static_cast<double>(*n) / static_cast<double>(*d));
}

std::string At(const std::string &name, const Line &line) { return name + " line " + std::to_string(line.number); }

std::string CentsText(double cents) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f cents", cents);
  return text;
}

constexpr char kFormat[] =
    "a Scala file holds comment lines starting with '!', a description, the number of pitches (12), then the "
    "pitches, one a line";

bool ReadPitches(const std::vector<Line> &lines, size_t first, const std::string &name, ScalaScale *out,
                 std::string *why) {
  double below = 0;
  for (int d = 0; d < ScalaScale::kPitches; ++d) {
    if (first + d >= lines.size()) {
      *why = name + ": ends after " + std::to_string(d) + " of its 12 pitches";
      return false;
    }
    const Line &line = lines[first + d];
    const std::string_view word = FirstWord(line.text);
    const std::optional<double> cents = word.find('.') != std::string_view::npos ? Cents(word) : RatioCents(word);
    if (!cents) {
      *why = At(name, line) + ": '" + std::string(word.substr(0, 24)) +
             "' is no pitch (cents with a '.', as 386.314, or a ratio, as 5/4 or 2)";
      return false;
    }
    if (*cents <= below) {
      *why = At(name, line) + ": " + CentsText(*cents) + " is not above the pitch before (" + CentsText(below) +
             "): a scale's pitches rise from its root to its octave";
      return false;
    }
    out->cents[d] = below = *cents;
  }
  if (below < kShortestOctave || below > kLongestOctave) {
    *why = At(name, lines[first + ScalaScale::kPitches - 1]) + ": the last pitch, " + CentsText(below) +
           ", is the octave the scale repeats at; it lies between 1100 and 1300 cents (2/1 is 1200)";
    return false;
  }
  return true;
}

}  // namespace

bool ReadScala(std::string_view text, const std::string &name, ScalaScale *out, std::string *why) {
  const std::vector<Line> all = Lines(text);
  if (all.empty()) {
    *why = name + ": no description: " + kFormat;
    return false;
  }
  ScalaScale scale;
  scale.description = std::string(all.front().text);
  // Past the description, blank lines are no line of the scale.
  std::vector<Line> lines{all.front()};
  for (size_t i = 1; i < all.size(); ++i)
    if (!FirstWord(all[i].text).empty()) lines.push_back(all[i]);
  if (lines.size() < 2) {
    *why = name + ": ends before the number of pitches: " + kFormat;
    return false;
  }
  const std::string_view count = FirstWord(lines[1].text);
  const std::optional<long long> pitches = WholeNumber(count);
  if (!pitches) {
    *why = At(name, lines[1]) + ": '" + std::string(count.substr(0, 24)) + "' is no number of pitches: " + kFormat;
    return false;
  }
  if (*pitches != ScalaScale::kPitches) {
    *why = At(name, lines[1]) + ": " + std::to_string(*pitches) +
           " pitches; the tuner names 12 notes to the octave and takes scales of 12 (11 and the octave)";
    return false;
  }
  if (!ReadPitches(lines, 2, name, &scale, why)) return false;
  if (lines.size() > 2 + ScalaScale::kPitches) {
    *why = At(name, lines[2 + ScalaScale::kPitches]) + ": more pitches than the 12 of " + At(name, lines[1]);
    return false;
  }
  *out = scale;
  return true;
}

bool LoadScala(const std::string &path, ScalaScale *out, std::string *why) {
  constexpr size_t kLargest = 1 << 20;  // far more than any scale of 12 pitches takes
  std::FILE *file = std::fopen(path.c_str(), "rb");
  if (!file) {
    *why = "cannot read " + path + ": " + std::strerror(errno);
    return false;
  }
  std::string text(kLargest + 1, '\0');
  text.resize(std::fread(text.data(), 1, text.size(), file));
  const int error = std::ferror(file) ? errno : 0;
  std::fclose(file);
  if (error != 0) {
    *why = "cannot read " + path + ": " + std::strerror(error);
    return false;
  }
  if (text.size() > kLargest) {
    *why = path + ": larger than 1 MiB, which is no scale file";
    return false;
  }
  return ReadScala(text, path, out, why);
}

}  // namespace Measure
