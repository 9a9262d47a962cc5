#include "StringToken.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace Measure {

namespace {

std::optional<int> ParseInt(std::string_view text) {
  int value = 0;
  const char *end = text.data() + text.size();
  auto [at, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0])) || ec != std::errc() || at != end)
    return std::nullopt;
  return value;
}

size_t Digits(std::string_view text) {
  size_t n = 0;
  while (n < text.size() && std::isdigit(static_cast<unsigned char>(text[n]))) ++n;
  return n;
}

// "+2", "-1.5", "-12.25": a sign, one or two digits, and a '.' with one or
// two more.
std::optional<double> ParseOffset(std::string_view text) {
  if (text.size() < 2 || (text[0] != '+' && text[0] != '-')) return std::nullopt;
  const std::string_view number = text.substr(1);
  const size_t whole = Digits(number);
  if (whole < 1 || whole > 2) return std::nullopt;
  if (whole < number.size()) {
    const size_t fraction = Digits(number.substr(whole + 1));
    if (number[whole] != '.' || fraction < 1 || fraction > 2 || whole + 1 + fraction != number.size())
      return std::nullopt;
  }
  double value = 0;
  std::from_chars(number.data(), number.data() + number.size(), value);
  return text[0] == '-' ? -value : value;
}

bool ReadNote(std::string_view text, StringToken *out) {
  out->number = ParseInt(text);
  out->name = out->number ? std::nullopt : ReadNoteName(text);
  return out->number || out->name;
}

}  // namespace

std::string QuoteToken(std::string_view text) {
  constexpr size_t kLongest = 16;
  size_t cut = text.size() <= kLongest ? text.size() : kLongest - 4;
  while (cut < text.size() && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  std::string quoted(1, '\'');
  quoted.append(text.substr(0, cut)).append(cut < text.size() ? "...'" : "'");
  return quoted;
}

bool ReadStringToken(std::string_view text, StringToken *out, std::string *why) {
  out->text = text;
  out->offset = 0;
  if (ReadNote(text, out)) return true;
  // The offset starts at the last sign after the note; a name's octave may
  // have a sign of its own ("B-1-1.5").
  const size_t sign = text.find_last_of("+-");
  if (sign != std::string_view::npos && sign > 0 && ReadNote(text.substr(0, sign), out)) {
    const std::optional<double> offset = ParseOffset(text.substr(sign));
    if (!offset) {
      *why = QuoteToken(text) + ": an offset is a sign and cents, as B3-1.5 or 59+2 (at most two digits before and "
                                "after the point)";
      return false;
    }
    if (std::abs(*offset) > kMostOffset) {
      *why = QuoteToken(text) + " lies more than 50 cents off its note, nearer another: an offset is at most 50 cents";
      return false;
    }
    out->offset = *offset;
    return true;
  }
  *why = QuoteToken(text) + " is no note (a MIDI number, or a letter A-G, a sharp or flat and an octave, as F#2, " +
         "then perhaps an offset in cents, as B3-1.5)";
  return false;
}

}  // namespace Measure
