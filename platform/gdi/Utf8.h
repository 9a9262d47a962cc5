#pragma once

#include <string>

namespace platform {

// One wide character as UTF-8 into `out` (room for 4 bytes); returns the
// byte count. Invalid code points become U+FFFD.
inline int Utf8(wchar_t c, char *out) {
  auto u = static_cast<char32_t>(c);
  if (u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) u = 0xFFFD;
  if (u < 0x80) {
    out[0] = static_cast<char>(u);
    return 1;
  }
  const int length = u < 0x800 ? 2 : u < 0x10000 ? 3 : 4;
  static constexpr unsigned char kLead[] = {0, 0, 0xC0, 0xE0, 0xF0};
  for (int i = length - 1; i > 0; --i, u >>= 6) out[i] = static_cast<char>(0x80 | (u & 0x3F));
  out[0] = static_cast<char>(kLead[length] | u);
  return length;
}

// The host's wide text as UTF-8.
inline std::string Utf8(const std::wstring &text) {
  std::string out;
  char bytes[4];
  for (wchar_t c : text) out.append(bytes, static_cast<size_t>(Utf8(c, bytes)));
  return out;
}

}  // namespace platform
