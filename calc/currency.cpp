// SPDX-License-Identifier: MIT
#include "calc/currency.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "calc/arithmetic.h"
#include "calc/exact_decimal.h"
#include "calc/number_text.h"

namespace calc {

namespace {

template <class T>
std::optional<T> ToOptional(const Checked<T>& c) {
  if (c) return c.value();
  return std::nullopt;
}

}  // namespace

std::optional<Currency> CurrencyFromText(std::string_view utf8) { return ToOptional(ParseCurrency(utf8)); }

std::optional<double> DoubleFromText(std::string_view utf8) { return ToOptional(ParseDouble(utf8)); }

std::optional<Currency> CurrencyFromDouble(double x) { return ToOptional(CheckedCurrencyFromDouble(x)); }

std::optional<Currency> CurrencyMultiply(Currency a, Currency b) {
  return ToOptional(CheckedCurrencyMultiply(a, b));
}

double DoubleFromCurrency(Currency c) noexcept {
  const std::int64_t t = c.ticks();
  constexpr std::int64_t kExact = std::int64_t{1} << 53;
  // Both operands exact: one correctly rounded division.
  if (t >= -kExact && t <= kExact) return Quotient(static_cast<double>(t), static_cast<double>(Currency::kTicksPerUnit));
  // Larger counts would round twice through a double; read the exact decimal
  // "ticks e-4" instead.
  std::array<char, 24> buf{};
  const std::uint64_t magnitude = t < 0 ? 0 - static_cast<std::uint64_t>(t) : static_cast<std::uint64_t>(t);
  const char* end = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude).ptr;
  const double value = detail::DoubleFromDecimal(std::string_view(buf.data(), static_cast<std::size_t>(end - buf.data())), -4);
  return t < 0 ? -value : value;
}

std::string TextFromDouble(double x) {
  if (std::isnan(x)) return "NaN";
  if (std::isinf(x)) return x < 0 ? "-Infinity" : "Infinity";
  if (x == 0.0) return "0";  // negative zero too

  const detail::FifteenDigits rounded = detail::RoundToFifteenDigits(x);
  const bool negative = x < 0;
  const int exponent = rounded.exponent;
  std::array<char, 20> digit_chars{};
  std::string digits(digit_chars.data(),
                     std::to_chars(digit_chars.data(), digit_chars.data() + digit_chars.size(), rounded.digits).ptr);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent >= -5 && exponent < 15) {
    if (exponent < 0) {
      out += "0.";
      out.append(static_cast<std::size_t>(-exponent - 1), '0');
      out += digits;
    } else {
      const auto int_len = static_cast<std::size_t>(exponent) + 1;
      if (digits.size() <= int_len) {
        out += digits;
        out.append(int_len - digits.size(), '0');
      } else {
        out += digits.substr(0, int_len);
        out += '.';
        out += digits.substr(int_len);
      }
    }
    return out;
  }
  out += digits.front();
  if (digits.size() > 1) {
    out += '.';
    out += digits.substr(1);
  }
  // E±xx: the exponent's sign always, and at least two digits.
  const int magnitude = std::abs(exponent);
  out += 'E';
  out += exponent < 0 ? '-' : '+';
  if (magnitude < 10) out += '0';
  std::array<char, 8> digits_of_exponent{};
  out.append(digits_of_exponent.data(),
             std::to_chars(digits_of_exponent.data(), digits_of_exponent.data() + digits_of_exponent.size(), magnitude).ptr);
  return out;
}

}  // namespace calc
