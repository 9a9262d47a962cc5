#pragma once

#include <cwchar>
#include <string>

#include "Rounding.h"

// A deviation as the screens write it, to a tenth of a cent with its sign:
// "+0.4 cents", "-12.0 cents", and "0.0 cents" in tune.
inline std::wstring CentsText(double cents) {
  const double shown = Rounding::Tenths(cents);
  wchar_t text[32];
  std::swprintf(text, 32, shown == 0 ? L"%.1f cents" : L"%+.1f cents", shown);
  return text;
}
