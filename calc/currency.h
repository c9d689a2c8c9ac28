// SPDX-License-Identifier: MIT
// Currency: the fixed-point quantity of the calculation, and the six
// conversions and operations the calculation is built from.
//
// Contract, for every function here: never throws, never hangs, never
// allocates in proportion to anything but the length of its input text, and
// is safe to call from any thread (no global state, no locale).
//
//  * A Currency is a signed 64-bit count of ticks; one tick is 0.0001. Range
//    -922,337,203,685,477.5808 .. 922,337,203,685,477.5807.
//  * Every rounding to a tick, or to a double, is of the exact real value and
//    sends ties to even.
//  * Texts are UTF-8. The number notation accepted by CurrencyFromText and
//    DoubleFromText is described in number_text.h; both accept the same texts.
//  * std::nullopt means the operation failed; number_text.h has the variants
//    that also say why.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace calc {

class Currency {
 public:
  static constexpr std::int64_t kTicksPerUnit = 10'000;

  constexpr Currency() noexcept = default;  // 0
  [[nodiscard]] static constexpr Currency FromRaw(std::int64_t ticks) noexcept { return Currency(ticks); }
  [[nodiscard]] constexpr std::int64_t ticks() const noexcept { return ticks_; }

  friend constexpr bool operator==(Currency, Currency) noexcept = default;

 private:
  constexpr explicit Currency(std::int64_t ticks) noexcept : ticks_(ticks) {}
  std::int64_t ticks_ = 0;
};

// The text as a number rounded to the nearest tick. Fails on a text that is
// not a number and on a value outside the Currency range. Exact: the decimal
// digits are rounded directly, never through a double.
std::optional<Currency> CurrencyFromText(std::string_view utf8);

// The text as the nearest double. Fails on a text that is not a number and on
// a magnitude beyond the largest double; a magnitude below the smallest
// subnormal gives a (signed) zero.
std::optional<double> DoubleFromText(std::string_view utf8);

// x * 10,000 rounded to the nearest integer number of ticks. Fails when the
// result is outside the Currency range, and for NaN and infinities.
std::optional<Currency> CurrencyFromDouble(double x);

// The exact product rounded to the nearest tick. Fails outside the range.
std::optional<Currency> CurrencyMultiply(Currency a, Currency b);

// The nearest double to ticks / 10,000. Never fails.
double DoubleFromCurrency(Currency c) noexcept;

// The display form of x: 15 significant digits, trailing zeros and a trailing
// point dropped; plain notation when the decimal exponent e of the rounded
// value is in -5 <= e < 15, otherwise mantissa, "E", sign and at least two
// exponent digits ("1E+15", "1.5E-06"). Negative zero shows "0"; the minus
// sign is the ASCII hyphen-minus. NaN and infinities, which the calculation
// never displays, show "NaN", "Infinity" and "-Infinity". Never fails.
std::string TextFromDouble(double x);

}  // namespace calc
