// SPDX-License-Identifier: MIT
// The display's digits: a double rounded to 15 significant decimal digits,
// computed from its exact binary value with big integers of our own.
//
// A general formatting library does this too, but brings its format-string
// machinery, its shortest-digit tables and (for hexadecimal floats) printf
// with it; those were two fifths of the web edition's WebAssembly. The tests
// compare this with such a library over the whole range of doubles.
#pragma once

#include <cstdint>

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

}  // namespace calc::detail
