// SPDX-License-Identifier: MIT
#include "calc/arithmetic.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "calc/wide_int.h"

namespace calc {

using detail::TickLimit;
using detail::U128;

#if defined(FLT_EVAL_METHOD) && (FLT_EVAL_METHOD == 0 || FLT_EVAL_METHOD == 1)
double Product(double a, double b) noexcept { return a * b; }
double Quotient(double a, double b) noexcept { return a / b; }
#else
// One rounding: a * b + (-0) keeps the product's sign of zero.
double Product(double a, double b) noexcept { return std::fma(a, b, -0.0); }

double Quotient(double a, double b) noexcept {
  // Stored, so rounded to double (perhaps twice): within one unit in the last place.
  const volatile double stored = a / b;
  const double q = stored;
  if (!std::isnormal(q) || !std::isfinite(a) || !std::isfinite(b)) return q;
  // a - q * b is exact for such a q; its neighbour towards a / b may be nearer.
  const double r = std::fma(-q, b, a);
  if (r == 0) return q;
  const double next = std::nextafter(q, (r > 0) == (b > 0) ? HUGE_VAL : -HUGE_VAL);
  const double r_next = std::fma(-next, b, a);
  if (std::fabs(r_next) < std::fabs(r)) return next;
  if (std::fabs(r_next) > std::fabs(r)) return q;
  std::uint64_t bits = 0;  // a tie: to the even one
  std::memcpy(&bits, &next, sizeof bits);
  return (bits & 1) == 0 ? next : q;
}
#endif

Checked<double> CheckedMultiply(double a, double b) noexcept {
  const double r = Product(a, b);
  if (!std::isfinite(r)) return Failure::OutOfRange;
  return r;
}

Checked<double> CheckedDivide(double a, double b) noexcept {
  if (b == 0.0) return Failure::DivideByZero;
  const double r = Quotient(a, b);
  if (!std::isfinite(r)) return Failure::OutOfRange;
  return r;
}

namespace {

// Signed Currency from a magnitude in ticks, or OutOfRange.
Checked<Currency> FromMagnitude(U128 magnitude, bool negative) noexcept {
  if (magnitude > U128(TickLimit(negative))) return Failure::OutOfRange;
  const std::uint64_t m = magnitude.low();
  return Currency::FromRaw(static_cast<std::int64_t>(negative ? 0 - m : m));
}

constexpr auto kTicksPerUnit = static_cast<std::uint32_t>(Currency::kTicksPerUnit);

}  // namespace

Checked<Currency> CheckedCurrencyFromDouble(double x) noexcept {
  if (!std::isfinite(x)) return Failure::OutOfRange;
  if (x == 0.0) return Currency{};
  const bool negative = std::signbit(x);
  // |x| = m * 2^e exactly, with m a 53-bit integer.
  int exp2 = 0;
  const double fraction = std::frexp(std::fabs(x), &exp2);
  const auto m = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  const int e = exp2 - 53;
  const U128 product = U128::Multiply(m, kTicksPerUnit);  // < 2^67, exact

  if (e >= 0) {
    if (e >= 64 || product > (U128(TickLimit(negative)) >> e)) return Failure::OutOfRange;
    return FromMagnitude(product << e, negative);
  }
  const int shift = -e;
  if (shift >= 127) return Currency{};  // below half a tick
  const U128 quotient = product >> shift;
  const U128 remainder = product - (quotient << shift);
  const U128 half = U128(1) << (shift - 1);
  const bool up = remainder > half || (remainder == half && (quotient.low() & 1) != 0);
  return FromMagnitude(quotient + U128(up ? 1 : 0), negative);
}

Checked<Currency> CheckedCurrencyMultiply(Currency a, Currency b) noexcept {
  const bool negative = (a.ticks() < 0) != (b.ticks() < 0);
  // Magnitudes up to 2^63 each: the product fits 126 bits.
  const auto magnitude = [](std::int64_t t) {
    const auto u = static_cast<std::uint64_t>(t);
    return t < 0 ? 0 - u : u;
  };
  const detail::DivMod32 scaled =
      detail::DivideBy(U128::Multiply(magnitude(a.ticks()), magnitude(b.ticks())), kTicksPerUnit);
  U128 quotient = scaled.quotient;
  constexpr std::uint32_t kHalf = kTicksPerUnit / 2;
  if (scaled.remainder > kHalf || (scaled.remainder == kHalf && (quotient.low() & 1) != 0)) quotient = quotient + U128(1);
  if (quotient == U128()) return Currency{};
  return FromMagnitude(quotient, negative);
}

}  // namespace calc
