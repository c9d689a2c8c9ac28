// SPDX-License-Identifier: MIT
// One row's (unit, entry) pair to a quantity in metres, kilograms or seconds.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "calc/units.h"

namespace calc {
namespace {

struct Case {
  Row row;
  std::string unit;
  std::string entry;
  EntryStatus status;
  std::int64_t ticks;  // checked when status is Converted
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << "row " << Index(c.row) << " unit \"" << c.unit << "\" entry \"" << c.entry << '"';
}

class ConvertEntryTest : public ::testing::TestWithParam<Case> {};

TEST_P(ConvertEntryTest, ConvertsOrSaysWhyNot) {
  const Case& c = GetParam();
  const EntryConversion got = ConvertEntry(c.row, c.unit, c.entry);
  EXPECT_EQ(got.status, c.status);
  if (c.status == EntryStatus::Converted) {
    EXPECT_EQ(got.value.ticks(), c.ticks);
  }
}

constexpr auto kOk = EntryStatus::Converted;
constexpr auto kUnit = EntryStatus::UnitNotRecognised;
constexpr auto kNaN = EntryStatus::NotANumber;
constexpr auto kRange = EntryStatus::OutOfRange;

INSTANTIATE_TEST_SUITE_P(EveryUnit, ConvertEntryTest, ::testing::Values(
    Case{Row::Height, "m", "12.34567", kOk, 123457}, Case{Row::Height, "cm", "250", kOk, 25000},
    Case{Row::Height, "km", "2.5", kOk, 25000000}, Case{Row::Mass, "kg", "-2", kOk, -20000},
    Case{Row::Mass, "g", "250", kOk, 2500}, Case{Row::Mass, "t", "1.5", kOk, 15000000},
    Case{Row::Time, "秒", "7", kOk, 70000}, Case{Row::Time, "分", "3", kOk, 1800000},
    Case{Row::Time, "時間", "1.5", kOk, 54000000}));

// Only the base unit reads the text exactly; the others go through a double,
// with true divisions, and round at the end.
INSTANTIATE_TEST_SUITE_P(Rounding, ConvertEntryTest, ::testing::Values(
    Case{Row::Height, "cm", "0.004", kOk, 0}, Case{Row::Height, "cm", "0.006", kOk, 1},
    Case{Row::Height, "cm", "0.3", kOk, 30}, Case{Row::Mass, "g", "0.3", kOk, 3},
    Case{Row::Mass, "g", "1,234.5", kOk, 12345}, Case{Row::Time, "秒", "0.00004", kOk, 0},
    Case{Row::Time, "分", "０．５", kOk, 300000}));

INSTANTIATE_TEST_SUITE_P(UnitComparedExactly, ConvertEntryTest, ::testing::Values(
    Case{Row::Height, "M", "5", kUnit, 0}, Case{Row::Height, " m", "5", kUnit, 0},
    Case{Row::Height, "m ", "5", kUnit, 0}, Case{Row::Height, "ｍ", "5", kUnit, 0},
    Case{Row::Height, "", "5", kUnit, 0}, Case{Row::Height, "mm", "5", kUnit, 0},
    Case{Row::Height, "kg", "5", kUnit, 0} /* another row's unit */, Case{Row::Mass, "KG", "5", kUnit, 0},
    Case{Row::Time, "s", "5", kUnit, 0}, Case{Row::Time, "時", "5", kUnit, 0},
    Case{Row::Time, "時間 ", "5", kUnit, 0}, Case{Row::Time, "秒", "abc", kNaN, 0},
    // The entry is not looked at when the unit does not match.
    Case{Row::Height, "M", "abc", kUnit, 0}));

INSTANTIATE_TEST_SUITE_P(EntryFailures, ConvertEntryTest, ::testing::Values(
    Case{Row::Height, "m", "abc", kNaN, 0}, Case{Row::Height, "m", "", kNaN, 0},
    Case{Row::Height, "cm", "abc", kNaN, 0}, Case{Row::Mass, "t", "", kNaN, 0},
    Case{Row::Height, "km", "1000000000000", kRange, 0},
    Case{Row::Height, "m", "1000000000000", kOk, 10000000000000000},
    Case{Row::Height, "km", "1e306", kRange, 0} /* the scaling itself overflows */,
    Case{Row::Height, "cm", "1e309", kRange, 0}, Case{Row::Height, "m", "1e20", kRange, 0},
    Case{Row::Time, "時間", "3e12", kRange, 0}));

TEST(UnitTableTest, EachRowHasItsBaseUnitFirstAndThreeUnits) {
  for (Row row : kRows) {
    int count = 0;
    const Unit* first = nullptr;
    for (const Unit& u : kUnits) {
      if (u.row != row) continue;
      if (count++ == 0) first = &u;
    }
    EXPECT_EQ(count, 3);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->scaling, Scaling::None);
  }
}

}  // namespace
}  // namespace calc
