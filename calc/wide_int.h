// SPDX-License-Identifier: MIT
// The 128-bit intermediates of exact fixed-point arithmetic.
//
// A small unsigned type of our own with just the operations the core uses,
// in standard C++ only: not every compiler has a 128-bit integer (MSVC and
// 32-bit targets lack __int128), and one code path on every toolchain means
// every build runs the code the tests run. All operations are exact, never
// overflow silently where used (callers keep values below 2^127), and are
// constexpr so the tests can check them at compile time too.
#pragma once

#include <compare>
#include <cstdint>

namespace calc::detail {

class U128 {
 public:
  constexpr U128() noexcept = default;
  constexpr explicit U128(std::uint64_t low) noexcept : lo_(low) {}
  [[nodiscard]] static constexpr U128 FromParts(std::uint64_t high, std::uint64_t low) noexcept {
    U128 r;
    r.hi_ = high;
    r.lo_ = low;
    return r;
  }
  [[nodiscard]] constexpr std::uint64_t high() const noexcept { return hi_; }
  [[nodiscard]] constexpr std::uint64_t low() const noexcept { return lo_; }

  // The full product of two 64-bit numbers.
  [[nodiscard]] static constexpr U128 Multiply(std::uint64_t a, std::uint64_t b) noexcept {
    constexpr std::uint64_t kMask = 0xFFFF'FFFFu;
    const std::uint64_t a0 = a & kMask, a1 = a >> 32, b0 = b & kMask, b1 = b >> 32;
    const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    const std::uint64_t middle = (p00 >> 32) + (p01 & kMask) + (p10 & kMask);  // < 3 * 2^32
    return FromParts(p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32), (middle << 32) | (p00 & kMask));
  }

  // Wraps modulo 2^128, as unsigned arithmetic does.
  friend constexpr U128 operator+(U128 a, U128 b) noexcept {
    const std::uint64_t low = a.lo_ + b.lo_;
    return FromParts(a.hi_ + b.hi_ + (low < a.lo_ ? 1 : 0), low);
  }
  friend constexpr U128 operator-(U128 a, U128 b) noexcept {
    return FromParts(a.hi_ - b.hi_ - (a.lo_ < b.lo_ ? 1 : 0), a.lo_ - b.lo_);
  }
  // Precondition: 0 <= n < 128.
  friend constexpr U128 operator<<(U128 a, int n) noexcept {
    if (n == 0) return a;
    if (n >= 64) return FromParts(a.lo_ << (n - 64), 0);
    return FromParts((a.hi_ << n) | (a.lo_ >> (64 - n)), a.lo_ << n);
  }
  friend constexpr U128 operator>>(U128 a, int n) noexcept {
    if (n == 0) return a;
    if (n >= 64) return U128(a.hi_ >> (n - 64));
    return FromParts(a.hi_ >> n, (a.lo_ >> n) | (a.hi_ << (64 - n)));
  }

  friend constexpr bool operator==(U128, U128) noexcept = default;
  friend constexpr std::strong_ordering operator<=>(U128 a, U128 b) noexcept {
    if (a.hi_ != b.hi_) return a.hi_ <=> b.hi_;
    return a.lo_ <=> b.lo_;
  }

 private:
  std::uint64_t hi_ = 0;
  std::uint64_t lo_ = 0;
};

// Quotient and remainder of a division by a divisor below 2^32.
struct DivMod32 {
  U128 quotient;
  std::uint32_t remainder;
};

// Schoolbook division in 32-bit digits, so every partial dividend fits 64
// bits. Precondition: divisor != 0.
constexpr DivMod32 DivideBy(U128 n, std::uint32_t divisor) noexcept {
  const std::uint64_t digits[4] = {n.high() >> 32, n.high() & 0xFFFF'FFFFu, n.low() >> 32, n.low() & 0xFFFF'FFFFu};
  std::uint64_t q[4] = {};
  std::uint64_t rem = 0;
  for (int i = 0; i < 4; ++i) {
    const std::uint64_t part = (rem << 32) | digits[i];
    q[i] = part / divisor;
    rem = part % divisor;
  }
  return {U128::FromParts((q[0] << 32) | q[1], (q[2] << 32) | q[3]), static_cast<std::uint32_t>(rem)};
}

// The largest magnitude of a Currency with the given sign, in ticks.
constexpr std::uint64_t TickLimit(bool negative) noexcept {
  return negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
}

}  // namespace calc::detail
