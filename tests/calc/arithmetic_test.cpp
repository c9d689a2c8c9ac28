// SPDX-License-Identifier: MIT
// Fixed-point and double steps: exact rounding with ties to even, range
// edges, the floating-point check, and the display form of a result.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "calc/arithmetic.h"
#include "calc/currency.h"

namespace calc {
namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(CurrencyTest, DefaultIsZeroAndEqualityComparesTicks) {
  EXPECT_EQ(Currency{}.ticks(), 0);
  EXPECT_EQ(Currency::FromRaw(5), Currency::FromRaw(5));
  EXPECT_NE(Currency::FromRaw(5), Currency::FromRaw(-5));
}

TEST(CurrencyFromDoubleTest, RoundsExactProductTiesToEven) {
  struct Case {
    double x;
    std::optional<std::int64_t> ticks;
  };
  const Case cases[] = {
      {0.00004, 0}, {0.00006, 1}, {1.5, 15000}, {-2.25, -22500}, {-0.0, 0}, {1e-300, 0}, {-1e-300, 0},
      // 1/32 and 3/32 times 10,000 are exact ties: 312.5 and 937.5.
      {0.03125, 312}, {0.09375, 938}, {-0.03125, -312}, {-0.09375, -938},
      // Near the range ends: 922337203685477.5 is a double; .625 is the next one.
      {922337203685477.5, 9223372036854775000}, {-922337203685477.5, -9223372036854775000},
      {922337203685477.625, std::nullopt}, {-922337203685477.625, std::nullopt},
      {1e15, std::nullopt}, {-1e15, std::nullopt}, {1e300, std::nullopt},
      {kInf, std::nullopt}, {-kInf, std::nullopt}, {std::nan(""), std::nullopt}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "x = " << c.x);
    const std::optional<Currency> got = CurrencyFromDouble(c.x);
    ASSERT_EQ(got.has_value(), c.ticks.has_value());
    if (got) {
      EXPECT_EQ(got->ticks(), *c.ticks);
    }
  }
}

TEST(CurrencyMultiplyTest, RoundsExactProductTiesToEven) {
  struct Case {
    std::int64_t a, b;
    std::optional<std::int64_t> ticks;
  };
  const Case cases[] = {
      {1, 1, 0},                                 // 0.0001 x 0.0001
      {3330000, 600000, 199800000},              // 333 x 60
      {30000, 40000, 120000},                    // 3 x 4
      {-25000, 40000, -100000},                  // -2.5 x 4
      {-25000, -40000, 100000},                  // signs cancel
      {1, 5000, 0}, {3, 5000, 2}, {-3, 5000, -2},  // ties: 0.5, 1.5, -1.5 ticks
      {1, 15000, 2}, {1, 5001, 1},
      {1000000000000, 1000000000000, std::nullopt},  // 1e8 x 1e8
      {kMax, 10000, kMax}, {kMin, 10000, kMin}, {kMin, -10000, std::nullopt},
      {kMax, kMax, std::nullopt}, {kMin, kMin, std::nullopt}, {kMin, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << " x " << c.b << " ticks");
    const std::optional<Currency> got = CurrencyMultiply(Currency::FromRaw(c.a), Currency::FromRaw(c.b));
    ASSERT_EQ(got.has_value(), c.ticks.has_value());
    if (got) {
      EXPECT_EQ(got->ticks(), *c.ticks);
    }
  }
}

TEST(DoubleFromCurrencyTest, IsCorrectlyRoundedEvenForLargeCounts) {
  EXPECT_EQ(DoubleFromCurrency(Currency::FromRaw(123457)), 12.3457);
  EXPECT_EQ(DoubleFromCurrency(Currency::FromRaw(-35000)), -3.5);
  EXPECT_EQ(DoubleFromCurrency(Currency{}), 0.0);
  EXPECT_EQ(DoubleFromCurrency(Currency::FromRaw(kMax)), 922337203685477.625);
  EXPECT_EQ(DoubleFromCurrency(Currency::FromRaw(kMin)), -922337203685477.625);
  // Converting the count to double first, then dividing, rounds twice and
  // lands one step low here.
  EXPECT_EQ(DoubleFromCurrency(Currency::FromRaw(637509808674084888)), 0x1.cfd9748caa83fp+45);
  EXPECT_EQ(DoubleFromCurrency(Currency::FromRaw(-637509808674084888)), -0x1.cfd9748caa83fp+45);
}

TEST(FloatingPointCheckTest, FailsOnDivisionByZeroOverflowAndInvalid) {
  EXPECT_EQ(CheckedDivide(5.0, 0.0).failure(), Failure::DivideByZero);
  EXPECT_EQ(CheckedDivide(0.0, 0.0).failure(), Failure::DivideByZero);
  EXPECT_EQ(CheckedDivide(-5.0, -0.0).failure(), Failure::DivideByZero);
  EXPECT_EQ(CheckedMultiply(1e308, 10.0).failure(), Failure::OutOfRange);
  EXPECT_EQ(CheckedDivide(1e308, 1e-10).failure(), Failure::OutOfRange);
  EXPECT_EQ(CheckedMultiply(kInf, 0.0).failure(), Failure::OutOfRange);
  // Underflow and inexact results are not failures.
  EXPECT_EQ(CheckedMultiply(1e-308, 1e-10).value(), 1e-318);
  EXPECT_EQ(CheckedDivide(1.0, 3.0).value(), 1.0 / 3.0);
  EXPECT_EQ(CheckedDivide(0.0, 7.0).value(), 0.0);
}

// Operands whose exact result lies so near a midpoint that a wider register
// (32-bit x86's x87), rounded once to its own 64 bits and again to double,
// would end one unit off. The bits are IEEE 754's, on every processor.
TEST(FloatingPointCheckTest, RoundsOnceOnEveryProcessor) {
  struct Case {
    double a, b;
    bool divide;
    std::uint64_t bits;
  };
  const Case cases[] = {
      {31570.5417, 9.80665, false, 0x4112e58502d41f27}, {5078.9344, 9.80665, false, 0x40e851eaa005438b},
      {9536.03549325, 4.289, true, 0x40a15ebda069b8f3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << (c.divide ? " / " : " * ") << c.b);
    const double got = c.divide ? CheckedDivide(c.a, c.b).value() : CheckedMultiply(c.a, c.b).value();
    std::uint64_t bits = 0;
    std::memcpy(&bits, &got, sizeof bits);
    EXPECT_EQ(bits, c.bits) << std::hex << bits;
  }
}

TEST(TextFromDoubleTest, FifteenSignificantDigitsAndExponentOutsideRange) {
  struct Case {
    double x;
    const char* text;
  };
  const Case cases[] = {
      {9.80665, "9.80665"}, {9.80665 / 60, "0.163444166666667"}, {195936.867 / 60, "3265.61445"},
      {-9.80665, "-9.80665"}, {0.0, "0"}, {-0.0, "0"}, {0.5, "0.5"}, {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"}, {100.0, "100"}, {123.456, "123.456"},
      {1e14, "100000000000000"}, {999999999999999.0, "999999999999999"},
      {1e15, "1E+15"}, {1.23456789012346e15, "1.23456789012346E+15"},
      {999999999999999.9, "1E+15"},  // rounding to 15 digits carries into the exponent
      // Exact binary values halfway between two 15-digit results: ties to even.
      {112589990684262.5, "112589990684262"}, {999999999999999.5, "1E+15"},
      {1e-5, "0.00001"}, {1.25e-5, "0.0000125"}, {9.999999999999999e-6, "0.00001"},
      {1e-6, "1E-06"}, {-1.5e-7, "-1.5E-07"}, {1e300, "1E+300"},
      {std::numeric_limits<double>::max(), "1.79769313486232E+308"},
      {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
      {kInf, "Infinity"}, {-kInf, "-Infinity"}, {std::nan(""), "NaN"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "x = " << c.x);
    EXPECT_EQ(TextFromDouble(c.x), c.text);
  }
}

TEST(TextFromDoubleTest, PrintedValueReadsBackToTheSameFifteenDigits) {
  for (double x : {3265.61445, 0.163444166666667, 12345.6789, 1e-4, 7.5e20}) {
    const std::optional<double> back = DoubleFromText(TextFromDouble(x));
    ASSERT_TRUE(back.has_value()) << TextFromDouble(x);
    EXPECT_EQ(TextFromDouble(*back), TextFromDouble(x));
  }
}

}  // namespace
}  // namespace calc
