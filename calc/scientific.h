// SPDX-License-Identifier: MIT
// A number as typed, for judging a result against it: a double mantissa and
// a decimal exponent of any size, so that no value the notation can write
// (1e-400, 1e999999) becomes 0 or infinity on the way. Good to about 16
// significant digits, which is all a comparison to 1 % needs.
//
// Every step rounds once (calc/arithmetic.h), so the same operands give the
// same bits on every processor. Never throws, never allocates.
#pragma once

#include <cstdint>

namespace calc {

struct Scientific {
  // mantissa * 10^exponent, with mantissa 0 (and exponent 0) or
  // 1 <= |mantissa| < 10.
  double mantissa = 0;
  std::int64_t exponent = 0;

  [[nodiscard]] bool zero() const noexcept { return mantissa == 0; }
  [[nodiscard]] bool negative() const noexcept { return mantissa < 0; }
};

// Any finite double, exactly to 15 significant digits.
Scientific ScientificFromDouble(double x) noexcept;

// m * 10^e for a finite m, brought to the form above.
Scientific Normalised(double m, std::int64_t e) noexcept;

Scientific Times(Scientific a, Scientific b) noexcept;
// Precondition: b is not zero.
Scientific Over(Scientific a, Scientific b) noexcept;

// |approx - exact| / |exact|: how far approx is from exact, as a share of
// exact. 0 when both are 0; infinity when only exact is 0, and when approx
// is a thousand times exact or more; 1 when approx is below a thousandth of
// exact.
double RelativeDistance(double approx, Scientific exact) noexcept;
double RelativeDistance(Scientific approx, Scientific exact) noexcept;

}  // namespace calc
