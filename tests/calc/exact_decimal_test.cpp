// SPDX-License-Identifier: MIT
// The core's own conversions against the libraries they replace, as
// references: the display's 15 digits against {fmt}'s exact "{:.14e}"
// (every power of two, the neighbours of every power of ten, exact ties,
// random doubles), and decimal digits to the nearest double against
// fast_float (random texts, exact midpoints between doubles and their
// nearest neighbours, both ends of the range).
#include "calc/exact_decimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <fast_float/fast_float.h>
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

// digits * 10^e10 read by the reference.
double ReferenceDouble(const std::string& digits, long e10) {
  const std::string text = digits + "e" + std::to_string(e10);
  double value = 0;
  fast_float::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

void ExpectSameDoubles(const std::vector<std::pair<std::string, long>>& texts) {
  int failures = 0;
  for (const auto& [digits, e10] : texts) {
    const double got = DoubleFromDecimal(digits, e10);
    const double want = ReferenceDouble(digits, e10);
    if (got == want) continue;
    ADD_FAILURE() << fmt::format("{}e{}: got {:a}, want {:a}", digits.substr(0, 60), e10, got, want);
    if (++failures == 10) return;
  }
}

// The exact decimal expansion of a value between two doubles, written by
// the reference from a long double that holds it exactly: digits, exponent.
std::pair<std::string, long> ExactDecimal(long double x) {
  const std::string sci = fmt::format("{:.800e}", x);
  const std::size_t e = sci.find('e');
  std::string digits = sci.substr(0, 1) + sci.substr(2, e - 2);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  return {digits, std::stol(sci.substr(e + 1)) - static_cast<long>(digits.size()) + 1};
}

TEST(DoubleFromDecimalTest, MidpointsBetweenDoublesAndTheirNeighbours) {
  if (std::numeric_limits<long double>::digits < 54) {
    GTEST_SKIP() << "a midpoint needs one bit more than a double, and long double is no wider here (32-bit arm); "
                    "the other processors try them";
  }
  std::mt19937_64 random(1074);
  std::vector<std::pair<std::string, long>> texts;
  std::vector<double> lows = {std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::min(),
                              std::nextafter(std::numeric_limits<double>::max(), 0.0), 1.0, 9.80665};
  while (lows.size() < 3000) {
    const std::uint64_t bits = random() >> 1;  // positive
    double x = 0;
    std::memcpy(&x, &bits, sizeof x);
    if (std::isfinite(x) && x != 0 && std::isfinite(std::nextafter(x, HUGE_VAL))) lows.push_back(x);
  }
  for (double low : lows) {
    const long double mid = (static_cast<long double>(low) + std::nextafter(low, HUGE_VAL)) / 2;
    auto [digits, e10] = ExactDecimal(mid);
    texts.emplace_back(digits, e10);            // the tie itself: to even
    texts.emplace_back(digits + "1", e10 - 1);  // just above it
    std::string below = digits;                 // just below it
    for (std::size_t i = below.size(); i-- > 0;) {
      if (below[i] != '0') { --below[i]; break; }
      below[i] = '9';
    }
    texts.emplace_back(below + "9", e10 - 1);
  }
  ExpectSameDoubles(texts);
}

TEST(DoubleFromDecimalTest, RandomTextsAndBothEndsOfTheRange) {
  std::mt19937_64 random(98066);
  std::vector<std::pair<std::string, long>> texts = {
      {"0", 5}, {"000", -400}, {"1", -324}, {"247", -326}, {"2470328229206232720882", -345}, {"25", -325},
      {"17976931348623157", 292}, {"17976931348623158", 292}, {"179769313486231580793728971405301", 276},
      {"1", 309}, {"9", 308}, {"4503599627370497", 0}, {"98066500", -7}};
  for (int i = 0; i < 100'000; ++i) {
    const auto length = static_cast<std::size_t>(1 + random() % (i % 10 == 0 ? 800 : 25));
    std::string digits;
    for (std::size_t k = 0; k < length; ++k) digits += static_cast<char>('0' + random() % 10);
    const long e10 = static_cast<long>(random() % 680) - 340 - static_cast<long>(length);
    texts.emplace_back(digits, e10);
  }
  ExpectSameDoubles(texts);
}

}  // namespace
}  // namespace calc::detail
