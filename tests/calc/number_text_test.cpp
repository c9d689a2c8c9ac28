// SPDX-License-Identifier: MIT
// Reading typed numbers: the notation, exact rounding to the tick, and the
// range edges, for both text conversions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "calc/currency.h"
#include "calc/number_text.h"

namespace calc {
namespace {

// Joins pieces by appending; GCC 12 at -O3 warns (-Wrestrict, a false
// positive) on "literal" + std::string temporaries.
std::string Cat(std::initializer_list<std::string_view> pieces) {
  std::string out;
  for (std::string_view p : pieces) out += p;
  return out;
}

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

struct CurrencyCase {
  std::string text;
  std::optional<std::int64_t> ticks;  // nullopt: must fail
};

void PrintTo(const CurrencyCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class CurrencyFromTextTest : public ::testing::TestWithParam<CurrencyCase> {};

TEST_P(CurrencyFromTextTest, ReadsExactlyOrFails) {
  const CurrencyCase& c = GetParam();
  const std::optional<Currency> got = CurrencyFromText(c.text);
  if (c.ticks) {
    ASSERT_TRUE(got.has_value()) << "for text: \"" << c.text << "\"";
    EXPECT_EQ(got->ticks(), *c.ticks) << "for text: \"" << c.text << "\"";
  } else {
    EXPECT_FALSE(got.has_value()) << "for text: \"" << c.text << "\" gave " << got->ticks();
  }
}

INSTANTIATE_TEST_SUITE_P(Notation, CurrencyFromTextTest, ::testing::Values(
    CurrencyCase{"0", 0}, CurrencyCase{"12", 120000}, CurrencyCase{"-3.5", -35000},
    CurrencyCase{"0.25", 2500}, CurrencyCase{"+5", 50000}, CurrencyCase{" 5 ", 50000},
    CurrencyCase{"\t5\t", 50000}, CurrencyCase{"5.", 50000}, CurrencyCase{".5", 5000},
    CurrencyCase{"-0", 0}, CurrencyCase{"000000000000000000000000001", 10000},
    CurrencyCase{"1,000", 10000000}, CurrencyCase{"12,345,678.5", 123456785000},
    CurrencyCase{"0,000", 0}, CurrencyCase{"1e3", 10000000}, CurrencyCase{"1E-4", 1},
    CurrencyCase{"2.5E+2", 2500000}, CurrencyCase{"-1,234.5e-1", -1234500},
    // Full-width forms and the ideographic space, as a Japanese IME types them.
    CurrencyCase{"１２．５", 125000}, CurrencyCase{"－３", -30000}, CurrencyCase{"＋１", 10000},
    CurrencyCase{"　５　", 50000}, CurrencyCase{"１，０００", 10000000}, CurrencyCase{"１ｅ３", 10000000},
    CurrencyCase{"１２.5", 125000},
    // U+2212 MINUS SIGN: Mozc's full-width form of a typed '-'.
    CurrencyCase{"−３", -30000}, CurrencyCase{"１ｅ−４", 1}));

INSTANTIATE_TEST_SUITE_P(NotANumber, CurrencyFromTextTest, ::testing::Values(
    CurrencyCase{"", std::nullopt}, CurrencyCase{"   ", std::nullopt}, CurrencyCase{"　", std::nullopt},
    CurrencyCase{"abc", std::nullopt}, CurrencyCase{"inf", std::nullopt}, CurrencyCase{"nan", std::nullopt},
    CurrencyCase{"0x10", std::nullopt}, CurrencyCase{"1.2.3", std::nullopt}, CurrencyCase{"--1", std::nullopt},
    CurrencyCase{"+-1", std::nullopt}, CurrencyCase{"- 5", std::nullopt}, CurrencyCase{"1e", std::nullopt},
    CurrencyCase{"1e+", std::nullopt}, CurrencyCase{"e5", std::nullopt}, CurrencyCase{".", std::nullopt},
    CurrencyCase{"-", std::nullopt}, CurrencyCase{"1 000", std::nullopt}, CurrencyCase{"1,00", std::nullopt},
    CurrencyCase{",100", std::nullopt}, CurrencyCase{"1000,000", std::nullopt}, CurrencyCase{"1,", std::nullopt},
    CurrencyCase{"1,,000", std::nullopt}, CurrencyCase{"1,0000", std::nullopt}, CurrencyCase{"0.1,000", std::nullopt},
    CurrencyCase{"5m", std::nullopt}, CurrencyCase{"ー3", std::nullopt} /* U+30FC, a kana, not a sign */,
    CurrencyCase{"٣", std::nullopt} /* Arabic-Indic three */, CurrencyCase{std::string("1\0", 2), std::nullopt},
    CurrencyCase{"\xff" "1", std::nullopt}, CurrencyCase{"1\xef\xbc", std::nullopt} /* cut-off UTF-8 */,
    CurrencyCase{"１\xef\xbd\x9f", std::nullopt} /* U+FF5F, just past the folded block */));

// Ties go to even; anything past the tie, however far, rounds away.
INSTANTIATE_TEST_SUITE_P(Rounding, CurrencyFromTextTest, ::testing::Values(
    CurrencyCase{"12.34567", 123457}, CurrencyCase{"0.00004", 0}, CurrencyCase{"0.00006", 1},
    CurrencyCase{"0.00005", 0}, CurrencyCase{"0.00015", 2}, CurrencyCase{"0.00025", 2},
    CurrencyCase{"-0.00015", -2}, CurrencyCase{"0.0000500000000000000000001", 1},
    CurrencyCase{"2.5e-5", 0}, CurrencyCase{"1.5e-4", 2}, CurrencyCase{"0.000049999999", 0},
    CurrencyCase{"0.00009999", 1}));

INSTANTIATE_TEST_SUITE_P(Range, CurrencyFromTextTest, ::testing::Values(
    CurrencyCase{"922337203685477.5807", kMax}, CurrencyCase{"922337203685477.58074", kMax},
    CurrencyCase{"922337203685477.58075", std::nullopt}, CurrencyCase{"922337203685477.5808", std::nullopt},
    CurrencyCase{"-922337203685477.5808", kMin}, CurrencyCase{"-922337203685477.5809", std::nullopt},
    CurrencyCase{"922,337,203,685,477.5807", kMax}, CurrencyCase{"1000000000000", 10000000000000000},
    CurrencyCase{"1e15", std::nullopt}, CurrencyCase{"12345678901234567890123", std::nullopt},
    CurrencyCase{"1e-999999999", 0}, CurrencyCase{"1e999999999", std::nullopt},
    CurrencyCase{"0e999999999", 0}, CurrencyCase{"1e99999999999999999999999999", std::nullopt},
    CurrencyCase{"1e-99999999999999999999999999", 0}));

TEST(ParseCurrencyTest, SaysWhyItFailed) {
  EXPECT_EQ(ParseCurrency("abc").failure(), Failure::NotANumber);
  EXPECT_EQ(ParseCurrency("").failure(), Failure::NotANumber);
  EXPECT_EQ(ParseCurrency("1e20").failure(), Failure::OutOfRange);
  EXPECT_EQ(ParseDouble("x").failure(), Failure::NotANumber);
  EXPECT_EQ(ParseDouble("1e400").failure(), Failure::OutOfRange);
}

struct DoubleCase {
  std::string text;
  std::optional<double> value;
};

void PrintTo(const DoubleCase& c, std::ostream* os) { *os << '"' << c.text.substr(0, 40) << '"'; }

class DoubleFromTextTest : public ::testing::TestWithParam<DoubleCase> {};

TEST_P(DoubleFromTextTest, ReadsCorrectlyRoundedOrFails) {
  const DoubleCase& c = GetParam();
  const std::optional<double> got = DoubleFromText(c.text);
  const std::string shown = c.text.substr(0, 60);
  if (c.value) {
    ASSERT_TRUE(got.has_value()) << "for text: \"" << shown << "\"";
    EXPECT_EQ(*got, *c.value) << "for text: \"" << shown << "\"";
    EXPECT_EQ(std::signbit(*got), std::signbit(*c.value)) << "for text: \"" << shown << "\"";
  } else {
    EXPECT_FALSE(got.has_value()) << "for text: \"" << shown << "\"";
  }
}

const std::string kHalfwayAboveOne =  // 1 + 2^-53, exactly halfway to the next double
    "1.00000000000000011102230246251565404236316680908203125";

INSTANTIATE_TEST_SUITE_P(All, DoubleFromTextTest, ::testing::Values(
    DoubleCase{"0.1", 0.1}, DoubleCase{"-3.5", -3.5}, DoubleCase{"1,000.25", 1000.25},
    DoubleCase{"１．５", 1.5}, DoubleCase{" +2e3 ", 2000.0}, DoubleCase{"-0", -0.0},
    DoubleCase{"1e308", 1e308}, DoubleCase{"1.7976931348623157e308", std::numeric_limits<double>::max()},
    DoubleCase{"1.7976931348623159e308", std::nullopt}, DoubleCase{"1e309", std::nullopt},
    DoubleCase{"-1e309", std::nullopt}, DoubleCase{"4.9e-324", std::numeric_limits<double>::denorm_min()},
    DoubleCase{"2e-324", 0.0}, DoubleCase{"1e-999999999", 0.0}, DoubleCase{"-1e-999999999", -0.0},
    DoubleCase{"1e999999999", std::nullopt}, DoubleCase{"", std::nullopt}, DoubleCase{"abc", std::nullopt},
    DoubleCase{"inf", std::nullopt}, DoubleCase{"nan", std::nullopt}, DoubleCase{"0x1p3", std::nullopt},
    DoubleCase{"1,00", std::nullopt},
    // Ties to even, and a nonzero digit far past the 800 kept still breaks the tie.
    DoubleCase{kHalfwayAboveOne, 1.0},
    DoubleCase{Cat({kHalfwayAboveOne, std::string(900, '0'), "1"}), std::nextafter(1.0, 2.0)},
    DoubleCase{Cat({"0.", std::string(1000, '0'), "1"}), 0.0},
    DoubleCase{Cat({"1", std::string(400, '0')}), std::nullopt},
    DoubleCase{Cat({"1", std::string(400, '0'), "e-400"}), 1.0}));

TEST(NumberTextTest, MegabyteOfDigitsIsReadNotRefused) {
  const std::string ones(1 << 20, '1');
  EXPECT_FALSE(CurrencyFromText(ones).has_value());
  EXPECT_FALSE(DoubleFromText(ones).has_value());
  const std::string small = Cat({"0.", std::string(1 << 20, '0'), "9"});
  EXPECT_EQ(CurrencyFromText(small)->ticks(), 0);
  EXPECT_EQ(*DoubleFromText(small), 0.0);
  const std::string exact = Cat({std::string(1 << 20, '0'), "7.00005", std::string(1 << 20, '0'), "1"});
  EXPECT_EQ(CurrencyFromText(exact)->ticks(), 70001);
  EXPECT_EQ(*DoubleFromText(exact), 7.00005);
}

}  // namespace
}  // namespace calc
