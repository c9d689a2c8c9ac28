// SPDX-License-Identifier: MIT
#include "calc/number_text.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "calc/exact_decimal.h"

namespace calc {
namespace {

// Stands for every code point that plays no part in a number.
constexpr char kOther = '\x01';

struct Folded {
  char c;
  std::size_t next;
};

// Reads the code point at pos and folds it to ASCII where the notation allows.
// Only exact encodings of U+3000, U+2212 and U+FF01..U+FF5E fold; any other non-ASCII
// byte, valid UTF-8 or not, reads as kOther and so ends the number.
Folded ReadFolded(std::string_view s, std::size_t pos) noexcept {
  const auto b0 = static_cast<unsigned char>(s[pos]);
  if (b0 < 0x80) return {b0 == 0 ? kOther : static_cast<char>(b0), pos + 1};
  if (pos + 2 < s.size()) {
    const auto b1 = static_cast<unsigned char>(s[pos + 1]);
    const auto b2 = static_cast<unsigned char>(s[pos + 2]);
    if (b0 == 0xE3 && b1 == 0x80 && b2 == 0x80) return {' ', pos + 3};  // U+3000
    if (b0 == 0xE2 && b1 == 0x88 && b2 == 0x92) return {'-', pos + 3};  // U+2212 MINUS SIGN
    if (b0 == 0xEF && (b1 == 0xBC || b1 == 0xBD) && (b2 & 0xC0) == 0x80) {
      const unsigned cp = 0xFF00u + (b1 == 0xBD ? 0x40u : 0u) + (b2 & 0x3Fu);
      if (cp >= 0xFF01u && cp <= 0xFF5Eu) return {static_cast<char>(cp - 0xFEE0u), pos + 3};
    }
  }
  return {kOther, pos + 1};
}

constexpr bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }
constexpr bool IsBlank(char c) noexcept { return c == ' ' || c == '\t'; }

// Exponents are clamped here: far beyond any double or Currency, far below
// int64 overflow when the digit count is added.
constexpr std::int64_t kExponentClamp = 1'000'000'000'000'000;

// What the first pass learns about a well-formed number.
struct Scan {
  bool negative = false;
  std::size_t mantissa_begin = 0;  // byte range of digits, ',' and '.'
  std::size_t mantissa_end = 0;
  // The decimal point stands after this many digits of the mantissa
  // (integer digits plus exponent; may be negative or beyond the digits).
  std::int64_t point = 0;
};

class Reader {
 public:
  explicit Reader(std::string_view s) noexcept : s_(s) {}
  [[nodiscard]] bool at_end() const noexcept { return pos_ >= s_.size(); }
  [[nodiscard]] char peek() const noexcept { return at_end() ? '\0' : ReadFolded(s_, pos_).c; }
  void advance() noexcept { pos_ = ReadFolded(s_, pos_).next; }
  [[nodiscard]] std::size_t pos() const noexcept { return pos_; }

 private:
  std::string_view s_;
  std::size_t pos_ = 0;
};

// First pass: checks the grammar of number_text.h and locates the parts.
bool ScanNumber(std::string_view s, Scan& out) noexcept {
  Reader r(s);
  while (IsBlank(r.peek())) r.advance();
  if (r.peek() == '+' || r.peek() == '-') {
    out.negative = r.peek() == '-';
    r.advance();
  }
  out.mantissa_begin = r.pos();

  std::int64_t int_digits = 0;
  std::int64_t group = 0;  // digits since the last ','
  bool grouped = false;
  for (char c = r.peek(); IsDigit(c) || c == ','; c = r.peek()) {
    if (c == ',') {
      if (grouped ? group != 3 : (group < 1 || group > 3)) return false;
      grouped = true;
      group = 0;
    } else {
      ++int_digits;
      ++group;
    }
    r.advance();
  }
  if (grouped && group != 3) return false;

  std::int64_t frac_digits = 0;
  if (r.peek() == '.') {
    r.advance();
    while (IsDigit(r.peek())) {
      ++frac_digits;
      r.advance();
    }
  }
  if (int_digits + frac_digits == 0) return false;
  out.mantissa_end = r.pos();

  std::int64_t exponent = 0;
  if (r.peek() == 'e' || r.peek() == 'E') {
    r.advance();
    bool exp_negative = false;
    if (r.peek() == '+' || r.peek() == '-') {
      exp_negative = r.peek() == '-';
      r.advance();
    }
    if (!IsDigit(r.peek())) return false;
    while (IsDigit(r.peek())) {
      if (exponent < kExponentClamp) exponent = exponent * 10 + (r.peek() - '0');
      r.advance();
    }
    if (exponent > kExponentClamp) exponent = kExponentClamp;
    if (exp_negative) exponent = -exponent;
  }

  while (IsBlank(r.peek())) r.advance();
  if (!r.at_end()) return false;
  out.point = int_digits + exponent;
  return true;
}

// Second pass: calls f(digit) for each mantissa digit in order until f
// returns false.
template <class F>
void ForEachDigit(std::string_view s, const Scan& scan, F f) noexcept {
  for (std::size_t pos = scan.mantissa_begin; pos < scan.mantissa_end;) {
    const Folded c = ReadFolded(s, pos);
    pos = c.next;
    if (IsDigit(c.c) && !f(c.c - '0')) return;
  }
}

}  // namespace

Checked<Currency> ParseCurrency(std::string_view utf8) noexcept {
  Scan scan;
  if (!ScanNumber(utf8, scan)) return Failure::NotANumber;

  // The digit with index i weighs 10^(q - 1 - i) ticks.
  const std::int64_t q = scan.point + 4;
  const std::uint64_t limit =
      scan.negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
  std::uint64_t acc = 0;
  int round_digit = 0;
  bool sticky = false;
  bool overflow = false;
  std::int64_t i = 0;
  ForEachDigit(utf8, scan, [&](int d) {
    const auto ud = static_cast<std::uint64_t>(d);
    if (i < q) {
      if (acc > (limit - ud) / 10) {
        overflow = true;
        return false;
      }
      acc = acc * 10 + ud;
    } else if (i == q) {
      round_digit = d;
    } else if (d != 0) {
      sticky = true;
      return false;  // nothing further can change the rounding
    }
    ++i;
    return true;
  });
  if (overflow) return Failure::OutOfRange;
  // Digits ran out before the tick position: scale up (a nonzero value
  // overflows within 19 steps, so this loop is short).
  for (std::int64_t k = i; k < q && acc != 0; ++k) {
    if (acc > limit / 10) return Failure::OutOfRange;
    acc *= 10;
  }
  if (round_digit > 5 || (round_digit == 5 && (sticky || (acc & 1u) != 0))) {
    if (acc == limit) return Failure::OutOfRange;
    ++acc;
  }
  const std::uint64_t magnitude = scan.negative ? 0 - acc : acc;
  return Currency::FromRaw(static_cast<std::int64_t>(magnitude));
}

Checked<double> ParseDouble(std::string_view utf8) noexcept {
  Scan scan;
  if (!ScanNumber(utf8, scan)) return Failure::NotANumber;
  const double zero = scan.negative ? -0.0 : 0.0;

  // A double's exact decimal expansion has at most 767 significant digits;
  // keeping 800 and one sticky nonzero digit after them rounds the same way
  // as the whole text, however long it is.
  constexpr std::size_t kKeep = 800;
  std::array<char, kKeep + 1> buf{};
  std::size_t kept = 0;
  std::int64_t leading_zeros = 0;
  bool truncated_nonzero = false;
  ForEachDigit(utf8, scan, [&](int d) {
    if (kept == 0 && d == 0) {
      ++leading_zeros;
    } else if (kept < kKeep) {
      buf[kept++] = static_cast<char>('0' + d);
    } else if (d != 0) {
      truncated_nonzero = true;
      return false;
    }
    return true;
  });
  if (kept == 0) return zero;

  // The value is 0.DDD... x 10^e10.
  const std::int64_t e10 = scan.point - leading_zeros;
  if (e10 > 310) return Failure::OutOfRange;  // >= 1e309
  if (e10 < -330) return zero;                // < 1e-330, under half the least subnormal
  if (truncated_nonzero) buf[kept++] = '1';

  // Correctly rounded, ties to even; beyond the largest double it gives
  // infinity, below half the least subnormal zero.
  const double value = detail::DoubleFromDecimal(std::string_view(buf.data(), kept), e10 - static_cast<std::int64_t>(kept));
  if (std::isinf(value)) return Failure::OutOfRange;
  return scan.negative ? -value : value;
}

Checked<Scientific> ParseScientific(std::string_view utf8) noexcept {
  Scan scan;
  if (!ScanNumber(utf8, scan)) return Failure::NotANumber;
  constexpr std::size_t kKeep = 17;
  std::array<char, kKeep> buf{};
  std::size_t kept = 0;
  std::int64_t leading_zeros = 0;
  ForEachDigit(utf8, scan, [&](int d) {
    if (kept == 0 && d == 0) {
      ++leading_zeros;
      return true;
    }
    buf[kept++] = static_cast<char>('0' + d);
    return kept < kKeep;
  });
  if (kept == 0) return Scientific{};
  // 0.DDD... x 10^e10 is D.DD... x 10^(e10 - 1).
  const double m = detail::DoubleFromDecimal(std::string_view(buf.data(), kept), 1 - static_cast<std::int64_t>(kept));
  return Normalised(scan.negative ? -m : m, scan.point - leading_zeros - 1);
}

}  // namespace calc
