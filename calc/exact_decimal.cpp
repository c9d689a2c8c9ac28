// SPDX-License-Identifier: MIT
#include "calc/exact_decimal.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>

namespace calc::detail {

namespace {

// An unsigned integer below 2^3968 in 32-bit limbs, least significant first.
// The largest values held below are the parser's: 801 significant digits
// over 10^1124, with that denominator shifted up by 53 bits (about 2^3790).
// The digit generation needs no more than about 2^1082.
class Big {
 public:
  explicit Big(std::uint64_t v) noexcept : limbs_{static_cast<std::uint32_t>(v), static_cast<std::uint32_t>(v >> 32)} {
    size_ = 2;
    Trim();
  }

  void Add(std::uint32_t term) noexcept {
    std::uint64_t carry = term;
    for (std::size_t i = 0; i < size_ && carry != 0; ++i) {
      const std::uint64_t sum = std::uint64_t{limbs_[i]} + carry;
      limbs_[i] = static_cast<std::uint32_t>(sum);
      carry = sum >> 32;
    }
    if (carry != 0) limbs_[size_++] = static_cast<std::uint32_t>(carry);
  }

  void MultiplyBy(std::uint32_t factor) noexcept {
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < size_; ++i) {
      const std::uint64_t product = std::uint64_t{limbs_[i]} * factor + carry;
      limbs_[i] = static_cast<std::uint32_t>(product);
      carry = product >> 32;
    }
    if (carry != 0) limbs_[size_++] = static_cast<std::uint32_t>(carry);
  }

  void MultiplyByPowerOf10(int n) noexcept {
    static constexpr std::array<std::uint32_t, 9> kSmall = {1,         10,         100,        1'000,      10'000,
                                                            100'000,   1'000'000,  10'000'000, 100'000'000};
    for (; n >= 9; n -= 9) MultiplyBy(1'000'000'000);
    MultiplyBy(kSmall[static_cast<std::size_t>(n)]);
  }

  void ShiftLeft(int n) noexcept {
    if (size_ == 0) return;
    const auto words = static_cast<std::size_t>(n / 32);
    const int bits = n % 32;
    const std::size_t top = size_ + words;  // where a carried-out top limb goes
    // From the top down, so every source limb is read before it is written.
    for (std::size_t i = top + 1; i-- > words;) {
      const std::uint32_t high = i - words < size_ ? limbs_[i - words] : 0;
      const std::uint32_t low = i > words ? limbs_[i - words - 1] : 0;
      limbs_[i] = bits == 0 ? high : (high << bits) | (low >> (32 - bits));
    }
    std::fill_n(limbs_.begin(), words, 0);
    size_ = top + 1;
    Trim();
  }

  // Precondition: *this >= b.
  void Subtract(const Big& b) noexcept {
    std::uint64_t borrow = 0;
    for (std::size_t i = 0; i < size_; ++i) {
      const std::uint64_t difference = std::uint64_t{limbs_[i]} - (i < b.size_ ? b.limbs_[i] : 0) - borrow;
      limbs_[i] = static_cast<std::uint32_t>(difference);
      borrow = (difference >> 32) & 1;  // a negative difference wrapped round
    }
    Trim();
  }

  friend int Compare(const Big& a, const Big& b) noexcept {
    if (a.size_ != b.size_) return a.size_ < b.size_ ? -1 : 1;
    for (std::size_t i = a.size_; i-- > 0;) {
      if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
    }
    return 0;
  }

 private:
  void Trim() noexcept {
    while (size_ > 0 && limbs_[size_ - 1] == 0) --size_;
  }

  std::array<std::uint32_t, 124> limbs_{};
  std::size_t size_ = 0;
};

// num / den for value * 2^-b, where value = digits * 10^e10.
void Ratio(const Big& digits, std::int64_t e10, int b, Big& num, Big& den) noexcept {
  num = digits;
  den = Big(1);
  if (e10 >= 0) num.MultiplyByPowerOf10(static_cast<int>(e10)); else den.MultiplyByPowerOf10(static_cast<int>(-e10));
  if (b >= 0) den.ShiftLeft(b); else num.ShiftLeft(-b);
}

Big Shifted(const Big& v, int n) noexcept {
  Big r = v;
  r.ShiftLeft(n);
  return r;
}

}  // namespace

double DoubleFromDecimal(std::string_view digits, std::int64_t e10) noexcept {
  while (!digits.empty() && digits.front() == '0') digits.remove_prefix(1);
  if (digits.empty()) return 0;
  // 10^(magnitude - 1) <= value < 10^magnitude.
  const std::int64_t magnitude = static_cast<std::int64_t>(digits.size()) + e10;
  if (magnitude > 309) return std::numeric_limits<double>::infinity();  // >= 1e309
  if (magnitude <= -324) return 0;  // < 1e-324, under half the least subnormal

  Big value(0);
  for (std::size_t i = 0; i < digits.size(); i += 9) {
    const std::string_view chunk = digits.substr(i, 9);
    std::uint32_t part = 0;
    for (char c : chunk) part = part * 10 + static_cast<std::uint32_t>(c - '0');
    value.MultiplyByPowerOf10(static_cast<int>(chunk.size()));
    value.Add(part);
  }

  // value = q * 2^b with 2^52 <= q < 2^53, or b = -1074 and q smaller
  // (subnormal). First b from the decimal magnitude (108853 / 2^15 is just
  // above log2 10), then corrected; each step moves one way only.
  int b = std::max(static_cast<int>(((magnitude - 1) * 108853) >> 15) - 52, -1074);
  Big num(0);
  Big den(0);
  for (;;) {
    Ratio(value, e10, b, num, den);
    if (Compare(num, Shifted(den, 53)) >= 0) {
      ++b;
    } else if (b > -1074 && Compare(num, Shifted(den, 52)) < 0) {
      --b;
    } else {
      break;
    }
  }

  // q by long division in binary, then the remainder decides the rounding.
  std::uint64_t q = 0;
  for (int bit = 52; bit >= 0; --bit) {
    const Big part = Shifted(den, bit);
    if (Compare(num, part) >= 0) {
      num.Subtract(part);
      q |= std::uint64_t{1} << bit;
    }
  }
  num.ShiftLeft(1);
  const int half = Compare(num, den);
  if (half > 0 || (half == 0 && (q & 1) != 0)) ++q;
  if (q == std::uint64_t{1} << 53) {
    q >>= 1;
    ++b;
  }
  if (b > 971) return std::numeric_limits<double>::infinity();  // beyond (2^53 - 1) * 2^971
  return std::ldexp(static_cast<double>(q), b);  // exact: q has at most 53 bits
}

FifteenDigits RoundToFifteenDigits(double x) noexcept {
  // x = mantissa * 2^e exactly.
  std::uint64_t bits = 0;
  std::memcpy(&bits, &x, sizeof bits);  // std::bit_cast, which not every library we build with has
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
  int e = -1074;  // subnormal
  if (biased != 0) {
    mantissa |= std::uint64_t{1} << 52;
    e = biased - 1075;
  }

  // x / 10^k as num / den, with k first estimated from the binary exponent
  // (1233 / 4096 is just below log10 2), then corrected so 1 <= num / den < 10.
  const int e2 = e + static_cast<int>(std::bit_width(mantissa)) - 1;  // 2^e2 <= x < 2^(e2 + 1)
  int k = (e2 * 1233) >> 12;                                           // floor, also when negative
  Big num(mantissa);
  Big den(1);
  if (e >= 0) num.ShiftLeft(e); else den.ShiftLeft(-e);
  if (k >= 0) den.MultiplyByPowerOf10(k); else num.MultiplyByPowerOf10(-k);
  while (Compare(num, den) < 0) {
    num.MultiplyBy(10);
    --k;
  }
  for (;;) {
    Big ten_den = den;
    ten_den.MultiplyBy(10);
    if (Compare(num, ten_den) < 0) break;
    den = ten_den;
    ++k;
  }

  // Fifteen digits by long division, then the remainder decides the rounding.
  std::uint64_t digits = 0;
  for (int i = 0; i < 15; ++i) {
    if (i > 0) num.MultiplyBy(10);
    std::uint64_t digit = 0;
    while (Compare(num, den) >= 0) {
      num.Subtract(den);
      ++digit;
    }
    digits = digits * 10 + digit;
  }
  num.ShiftLeft(1);
  const int half = Compare(num, den);  // twice the remainder against the divisor
  if (half > 0 || (half == 0 && (digits & 1) != 0)) ++digits;
  constexpr std::uint64_t kLimit = 1'000'000'000'000'000;
  if (digits == kLimit) {  // 9.99...95 and up carry into the next power of ten
    digits = kLimit / 10;
    ++k;
  }
  return {digits, k};
}

}  // namespace calc::detail
