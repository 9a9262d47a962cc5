#pragma once

#include <optional>
#include <string_view>

// Numbers given on a command line. Only plain decimal notation is read, the
// same in every locale: an optional sign, digits and an optional fraction
// ("440", "-3", "0.5", ".5", "5."). No exponent, hexadecimal, "inf", "nan"
// or surrounding spaces, so "0x10", "1e1" or " 2" never pass for a number by
// surprise. Bounds are inclusive; out of range is "not a number" too.
namespace cli {

std::optional<double> ParseNumber(std::string_view text, double low, double high);

// Digits only, with an optional sign: "2.0" and "2." are not whole numbers.
std::optional<long long> ParseWholeNumber(std::string_view text, long long low, long long high);

}  // namespace cli
