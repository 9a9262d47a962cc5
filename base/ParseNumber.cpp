#include "base/ParseNumber.h"

#include <charconv>
#include <cmath>

namespace cli {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text ready for from_chars (which takes no '+'), when it is a sign,
// digits and, with `fraction`, at most one point, with at least one digit.
std::optional<std::string_view> Plain(std::string_view text, bool fraction) {
  const bool sign = !text.empty() && (text[0] == '+' || text[0] == '-');
  const std::string_view body = text.substr(sign ? 1 : 0);
  bool digit = false, point = false;
  for (char c : body) {
    if (IsDigit(c))
      digit = true;
    else if (c == '.' && fraction && !point)
      point = true;
    else
      return std::nullopt;
  }
  if (!digit) return std::nullopt;
  return text[0] == '+' ? body : text;
}

// The whole of `text` read as a T by from_chars.
template <class T, class... Format>
std::optional<T> Read(std::string_view text, Format... format) {
  T v{};
  const char *end = text.data() + text.size();
  const std::from_chars_result r = std::from_chars(text.data(), end, v, format...);
  if (r.ec != std::errc() || r.ptr != end) return std::nullopt;
  return v;
}

}  // namespace

std::optional<double> ParseNumber(std::string_view text, double low, double high) {
  const std::optional<std::string_view> plain = Plain(text, true);
  const std::optional<double> v = plain ? Read<double>(*plain, std::chars_format::fixed) : std::nullopt;
  if (!v || !std::isfinite(*v) || *v < low || *v > high) return std::nullopt;
  return v;
}

std::optional<long long> ParseWholeNumber(std::string_view text, long long low, long long high) {
  const std::optional<std::string_view> plain = Plain(text, false);
  const std::optional<long long> v = plain ? Read<long long>(*plain) : std::nullopt;
  if (!v || *v < low || *v > high) return std::nullopt;
  return v;
}

}  // namespace cli
