// SPDX-License-Identifier: MIT
// The portable 128-bit type against values worked out by hand (hex), at the
// edges where carries and borrows cross the 64-bit halves.
#include "calc/wide_int.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace calc::detail {
namespace {

constexpr std::uint64_t kMax64 = ~std::uint64_t{0};

struct Expect {
  const char* what;
  U128 got, want;
};

TEST(U128Test, Arithmetic) {
  const U128 max = U128::FromParts(kMax64, kMax64);
  const Expect cases[] = {
      {"max64 * max64", U128::Multiply(kMax64, kMax64), U128::FromParts(kMax64 - 1, 1)},
      {"2^32 * 2^32", U128::Multiply(1ULL << 32, 1ULL << 32), U128::FromParts(1, 0)},
      {"m53 * 10000", U128::Multiply((1ULL << 53) - 1, 10000), U128::FromParts(0x4, 0xE1FFFFFFFFFFD8F0)},
      {"x * 0", U128::Multiply(kMax64, 0), U128()},
      {"carry into high", U128(kMax64) + U128(1), U128::FromParts(1, 0)},
      {"wrap", max + U128(1), U128()},
      {"borrow from high", U128::FromParts(1, 0) - U128(1), U128(kMax64)},
      {"<< 0", U128(5) << 0, U128(5)},
      {"<< 1 across", U128(1ULL << 63) << 1, U128::FromParts(1, 0)},
      {"<< 64", U128(3) << 64, U128::FromParts(3, 0)},
      {"<< 127", U128(1) << 127, U128::FromParts(1ULL << 63, 0)},
      {">> 1 across", U128::FromParts(1, 0) >> 1, U128(1ULL << 63)},
      {">> 64", U128::FromParts(7, 9) >> 64, U128(7)},
      {">> 127", max >> 127, U128(1)},
      {"max / 10000", DivideBy(max, 10000).quotient, U128::FromParts(0x00068DB8BAC710CB, 0x295E9E1B089A0275)},
      {"2^64 / 3", DivideBy(U128::FromParts(1, 0), 3).quotient, U128(0x5555555555555555)},
  };
  for (const Expect& c : cases) {
    EXPECT_EQ(c.got.high(), c.want.high()) << c.what;
    EXPECT_EQ(c.got.low(), c.want.low()) << c.what;
  }
  EXPECT_EQ(DivideBy(max, 10000).remainder, 1455u);  // 2^128 - 1 = 340282366920938463463374607431768211455
  EXPECT_EQ(DivideBy(U128::FromParts(1, 0), 3).remainder, 1u);
  EXPECT_LT(U128(kMax64), U128::FromParts(1, 0));
  EXPECT_GT(U128::FromParts(1, 0), U128(kMax64));
  static_assert(U128::Multiply(kMax64, kMax64) == U128::FromParts(kMax64 - 1, 1));
}

}  // namespace
}  // namespace calc::detail
