// SPDX-License-Identifier: MIT
#include "calc/scientific.h"

#include <cmath>
#include <limits>

#include "calc/arithmetic.h"
#include "calc/exact_decimal.h"

namespace calc {

Scientific Normalised(double m, std::int64_t e) noexcept {
  if (m == 0) return {};
  for (;;) {
    if (std::fabs(m) >= 10) {
      m = Quotient(m, 10);
      ++e;
    } else if (std::fabs(m) < 1) {
      m = Product(m, 10);
      --e;
    } else {
      return {m, e};
    }
  }
}

Scientific ScientificFromDouble(double x) noexcept {
  if (x == 0) return {};
  const detail::FifteenDigits d = detail::RoundToFifteenDigits(x);
  const double m = Quotient(static_cast<double>(d.digits), 1e14);  // both exact
  return Normalised(x < 0 ? -m : m, d.exponent);
}

Scientific Times(Scientific a, Scientific b) noexcept {
  if (a.zero() || b.zero()) return {};
  return Normalised(Product(a.mantissa, b.mantissa), a.exponent + b.exponent);
}

Scientific Over(Scientific a, Scientific b) noexcept {
  if (a.zero()) return {};
  return Normalised(Quotient(a.mantissa, b.mantissa), a.exponent - b.exponent);
}

double RelativeDistance(Scientific approx, Scientific exact) noexcept {
  constexpr double kFar = std::numeric_limits<double>::infinity();
  if (exact.zero()) return approx.zero() ? 0 : kFar;
  const Scientific ratio = Over(approx, exact);
  if (ratio.exponent > 2) return kFar;
  double r = 0;  // a ratio below 0.001 counts as none of exact
  if (ratio.exponent >= 0) {
    r = Product(ratio.mantissa, ratio.exponent == 0 ? 1 : ratio.exponent == 1 ? 10 : 100);
  } else if (ratio.exponent >= -2) {
    r = Quotient(ratio.mantissa, ratio.exponent == -1 ? 10 : 100);
  }
  // Stored, so that every processor compares the same double.
  const volatile double share = std::fabs(r - 1);
  return share;
}

double RelativeDistance(double approx, Scientific exact) noexcept {
  return RelativeDistance(ScientificFromDouble(approx), exact);
}

}  // namespace calc
