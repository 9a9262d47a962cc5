#pragma once

#include <string>
#include <string_view>

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

// The bytes of the UTF-8 sequence that `lead` starts; 0 when it starts none.
inline int Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead < 0xE0) return 2;
  if (lead >= 0xE0 && lead < 0xF0) return 3;
  return lead >= 0xF0 && lead < 0xF5 ? 4 : 0;
}

// UTF-8 as the host's wide text; a byte that starts no valid sequence
// becomes U+FFFD.
inline std::wstring Wide(std::string_view text) {
  std::wstring out;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = Utf8Length(lead);
    char32_t u = length == 1 ? lead : lead & (0x7F >> length);
    int n = 1;
    for (; n < length && i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80; ++n)
      u = (u << 6) | (static_cast<unsigned char>(text[i + n]) & 0x3F);
    const bool overlong = (length == 3 && u < 0x800) || (length == 4 && u < 0x10000);
    const bool valid = length > 0 && n == length && !overlong && u <= 0x10FFFF && (u < 0xD800 || u > 0xDFFF);
    out += valid ? static_cast<wchar_t>(u) : L'\xFFFD';
    i += valid ? length : 1;
  }
  return out;
}

}  // namespace platform
