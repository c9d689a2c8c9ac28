// SPDX-License-Identifier: MIT
// The display's 15 digits against {fmt}'s exact "{:.14e}", the reference:
// every power of two, the neighbours of every power of ten, exact ties and
// random doubles from the whole range.
#include "calc/exact_decimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#define FMT_HEADER_ONLY
#include <fmt/format.h>

namespace calc::detail {
namespace {

FifteenDigits Reference(double x) {
  const std::string sci = fmt::format("{:.14e}", std::fabs(x));  // d.dddddddddddddde±x
  const std::size_t e = sci.find('e');
  return {std::stoull(sci.substr(0, 1) + sci.substr(2, e - 2)), std::stoi(sci.substr(e + 1))};
}

void ExpectSameAsReference(const std::vector<double>& values) {
  int failures = 0;
  for (double x : values) {
    const FifteenDigits got = RoundToFifteenDigits(x);
    const FifteenDigits want = Reference(x);
    if (got == want) continue;
    ADD_FAILURE() << fmt::format("{:a} ({:.17g}): got {}e{}, want {}e{}", x, x, got.digits, got.exponent, want.digits,
                                 want.exponent);
    if (++failures == 10) return;
  }
}

TEST(RoundToFifteenDigitsTest, PowersOfTwoAndTheNeighboursOfPowersOfTen) {
  std::vector<double> values;
  for (int e = -1074; e <= 1023; ++e) values.push_back(std::ldexp(1.0, e));
  for (int k = -323; k <= 308; ++k) {
    const double p = std::strtod(("1e" + std::to_string(k)).c_str(), nullptr);  // subnormal too
    for (double x : {std::nextafter(p, 0.0), p, std::nextafter(p, HUGE_VAL)}) values.push_back(x);
  }
  for (double x : {std::numeric_limits<double>::max(), std::numeric_limits<double>::min(),
                   std::numeric_limits<double>::denorm_min(), std::nextafter(std::numeric_limits<double>::min(), 0.0),
                   -9.80665, 999999999999999.4, 999999999999999.5, 9.999999999999995, 9.9999999999999947}) {
    values.push_back(x);
  }
  ExpectSameAsReference(values);
}

TEST(RoundToFifteenDigitsTest, ExactTiesGoToEven) {
  std::mt19937_64 random(20261209);
  std::uniform_int_distribution<std::uint64_t> digits(100'000'000'000'000, 999'999'999'999'999);
  std::vector<double> values;
  for (int i = 0; i < 2000; ++i) {
    const double tie = static_cast<double>(digits(random)) + 0.5;  // exact: below 2^50
    for (int shift : {0, -1, -7, 3, 40}) values.push_back(std::ldexp(tie, shift));
  }
  ExpectSameAsReference(values);
  // And two by hand, so the reference itself is checked.
  EXPECT_EQ(RoundToFifteenDigits(112589990684262.5), (FifteenDigits{112589990684262, 14}));
  EXPECT_EQ(RoundToFifteenDigits(112589990684263.5), (FifteenDigits{112589990684264, 14}));
}

TEST(RoundToFifteenDigitsTest, RandomDoublesFromTheWholeRange) {
  std::mt19937_64 random(9806650);
  std::vector<double> values;
  while (values.size() < 200'000) {
    const std::uint64_t bits = random();
    double x = 0;
    std::memcpy(&x, &bits, sizeof x);
    if (std::isfinite(x) && x != 0) values.push_back(x);
  }
  ExpectSameAsReference(values);
}

}  // namespace
}  // namespace calc::detail
