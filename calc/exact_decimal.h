// SPDX-License-Identifier: MIT
// Exact conversions between decimal digits and doubles, with big integers
// of our own: a double rounded to the display's 15 significant digits, and
// decimal digits rounded to the nearest double.
//
// General libraries do both, but with format-string machinery, tables of
// powers and (for hexadecimal floats) printf; in the web edition those were
// three quarters of the WebAssembly, which the page carries. Plain long
// division is slower, and fast enough for a few numbers per click. The
// tests compare both with such libraries over the whole range of doubles.
#pragma once

#include <cstdint>
#include <string_view>

namespace calc::detail {

// x = digits * 10^(exponent - 14), with 10^14 <= digits < 10^15.
struct FifteenDigits {
  std::uint64_t digits = 0;
  int exponent = 0;
  friend bool operator==(const FifteenDigits&, const FifteenDigits&) = default;
};

// |x| rounded to 15 significant digits, ties to even. Precondition: x is
// finite and not zero (its sign is ignored).
FifteenDigits RoundToFifteenDigits(double x) noexcept;

// digits * 10^e10 rounded to the nearest double, ties to even: infinity
// beyond the largest double, zero below half the least subnormal.
// Precondition: digits holds only '0'..'9', at most 801 of them after any
// leading zeros.
double DoubleFromDecimal(std::string_view digits, std::int64_t e10) noexcept;

}  // namespace calc::detail
