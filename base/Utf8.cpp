#include "base/Utf8.h"

namespace drovane {

namespace {

// What a lead byte promises: the sequence's length (0: it leads none), the
// bits it carries, and the range of the byte after it, narrowed where a
// wider one would let in an overlong form, a surrogate or a code beyond
// U+10FFFF.
struct Lead {
  size_t length;
  char32_t bits;
  int low, high;
};

Lead LeadOf(unsigned char b) {
  if (b < 0x80) return {1, b, 0, 0};
  if (b >= 0xC2 && b <= 0xDF) return {2, b & 0x1Fu, 0x80, 0xBF};
  if (b >= 0xE0 && b <= 0xEF) return {3, b & 0x0Fu, b == 0xE0 ? 0xA0 : 0x80, b == 0xED ? 0x9F : 0xBF};
  if (b >= 0xF0 && b <= 0xF4) return {4, b & 0x07u, b == 0xF0 ? 0x90 : 0x80, b == 0xF4 ? 0x8F : 0xBF};
  return {0, 0, 0, 0};
}

}  // namespace

Utf8Sequence FirstUtf8Sequence(std::string_view text) {
  const Lead lead = LeadOf(static_cast<unsigned char>(text[0]));
  if (lead.length == 0) return {1, kReplacementCharacter, false};
  char32_t code = lead.bits;
  for (size_t i = 1; i < lead.length; ++i) {
    const auto b = static_cast<unsigned char>(i < text.size() ? text[i] : 0);
    if (b < (i == 1 ? lead.low : 0x80) || b > (i == 1 ? lead.high : 0xBF)) return {i, kReplacementCharacter, false};
    code = code << 6 | (b & 0x3Fu);
  }
  return {lead.length, code, true};
}

}  // namespace drovane
