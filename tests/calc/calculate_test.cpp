// SPDX-License-Identifier: MIT
// The calculate button's operation, through a recording view.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "calc/calculate.h"
#include "calculation_table.h"

namespace calc {
namespace {

class RecordingView : public LiftView {
 public:
  std::array<std::string, 3> units{"m", "kg", "秒"};
  std::array<std::string, 3> entries{"0", "0", "0"};
  std::string result = "0";
  mutable std::vector<std::string> calls;

  std::string UnitText(Row row) const override {
    calls.push_back("unit" + std::to_string(Index(row)));
    return units[Index(row)];
  }
  std::string EntryText(Row row) const override {
    calls.push_back("entry" + std::to_string(Index(row)));
    return entries[Index(row)];
  }
  void SetResultText(std::string_view text) override {
    calls.push_back("result");
    result = std::string(text);
  }

  void Set(std::array<std::string, 3> e, std::array<std::string, 3> u) {
    entries = std::move(e);
    units = std::move(u);
  }
};

struct Scenario {
  const char* name;
  std::array<std::string, 3> entries;
  std::array<std::string, 3> units;
  const char* shown;  // the result box afterwards
};

TEST(CalculateTest, WritesThePowerInWatts) {
  const Scenario scenarios[] = {
      {"one of each", {"1", "1", "1"}, {"m", "kg", "秒"}, "9.80665"},
      {"other units", {"100", "1000", "1"}, {"cm", "g", "分"}, "0.163444166666667"},
      {"Tokyo tower", {"333", "60", "1"}, {"m", "kg", "分"}, "3265.61445"},
      {"negative height", {"-1", "1", "1"}, {"m", "kg", "秒"}, "-9.80665"},
      {"moved by the tick, but by less than 1 %", {"1.00004", "0.5", "1"}, {"m", "kg", "秒"}, "4.903325"},
      {"full-width digits", {"１０", "２", "１"}, {"m", "kg", "時間"}, "0.0544813888888889"},
      // Within 1 % of what was typed, however the roundings fall.
      {"roundings that cancel", {"0.00015", "1", "0.00015"}, {"m", "kg", "秒"}, "9.80665"},
      {"moved by 0.99 %", {"0.00505", "1", "1"}, {"m", "kg", "秒"}, "0.04903325"},
      {"a height and mass of 0", {"0", "0", "1"}, {"m", "kg", "秒"}, "0"},
      {"a tiny height times a mass of 0", {"1e-400", "0", "1"}, {"m", "kg", "秒"}, "0"},
  };
  for (const Scenario& s : scenarios) {
    SCOPED_TRACE(s.name);
    RecordingView view;
    view.Set(s.entries, s.units);
    LiftQuantities q;
    const CalculationOutcome outcome = Calculate(view, q);
    EXPECT_TRUE(outcome.written);
    EXPECT_EQ(outcome.result, ResultStatus::Computed);
    EXPECT_EQ(view.result, s.shown);
  }
}

// The shared calculation table: a number exactly as shown, or none at all.
TEST(CalculateTest, TheWindowsTable) {
  for (const auto& row : tressin_tests::kCalculationTable) {
    SCOPED_TRACE(row.name);
    RecordingView view;
    for (Row r : kRows) {
      view.entries[Index(r)] = row.entries[Index(r)];
      view.units[Index(r)] = row.units[Index(r)];
    }
    LiftQuantities q;
    const CalculationOutcome outcome = Calculate(view, q);
    EXPECT_EQ(outcome.written, !row.shown.empty());
    EXPECT_EQ(view.result, row.shown.empty() ? "0" : row.shown);
  }
}

// No number more than 1 % from the power of what was typed: the reason names
// the quantity whose rounding moved most (none: height x mass), and the
// quantities are kept as rounded.
TEST(CalculateTest, NoNumberMoreThanOnePercentOff) {
  struct Case {
    const char* name;
    std::array<std::string, 3> entries;
    std::array<std::string, 3> units;
    ResultStatus result;
    std::optional<Row> about;
  };
  const Case cases[] = {
      {"0.0001 m x 0.0001 kg rounds to 0", {"0.0001", "0.0001", "1"}, {"m", "kg", "秒"}, ResultStatus::TooFine, std::nullopt},
      {"a one-yen coin lifted 1 cm", {"1", "1", "1"}, {"cm", "g", "秒"}, ResultStatus::TooFine, std::nullopt},
      {"0.03 g becomes 0 kg", {"10", "0.03", "1"}, {"m", "g", "秒"}, ResultStatus::TooFine, Row::Mass},
      {"0.00012 m typed becomes 0.0001", {"0.00012", "1000", "1"}, {"m", "kg", "秒"}, ResultStatus::TooFine, Row::Height},
      {"0.00015 s becomes 0.0002", {"10", "2", "0.00015"}, {"m", "kg", "秒"}, ResultStatus::TooFine, Row::Time},
      {"moves of under 1 % each that add up", {"0.00505", "1.01", "0.00515"}, {"m", "kg", "秒"}, ResultStatus::TooFine, Row::Height},
      {"1e-400 m is not 0", {"1e-400", "60", "1"}, {"m", "kg", "秒"}, ResultStatus::TooFine, Row::Height},
      {"1e-330 km is not 0", {"1e-330", "60", "1"}, {"km", "kg", "秒"}, ResultStatus::TooFine, Row::Height},
      {"a time typed that rounds to 0", {"10", "2", "0.00004"}, {"m", "kg", "秒"}, ResultStatus::TooFine, Row::Time},
      {"1e-999 時間", {"10", "2", "1e-999"}, {"m", "kg", "時間"}, ResultStatus::TooFine, Row::Time},
      {"a time typed as 0", {"10", "2", "0"}, {"m", "kg", "秒"}, ResultStatus::ZeroTime, std::nullopt},
      {"-0 分 is 0 too", {"10", "2", "-0"}, {"m", "kg", "分"}, ResultStatus::ZeroTime, std::nullopt},
      {"a negative time", {"3", "60", "-3"}, {"m", "kg", "秒"}, ResultStatus::Negative, Row::Time},
      {"a negative time that rounds to 0", {"3", "60", "-0.00001"}, {"m", "kg", "秒"}, ResultStatus::Negative, Row::Time},
      {"a negative mass", {"3", "-60", "3"}, {"m", "kg", "秒"}, ResultStatus::Negative, Row::Mass},
      {"a negative mass before a time of 0", {"3", "-60", "0"}, {"m", "g", "秒"}, ResultStatus::Negative, Row::Mass},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingView view;
    view.Set(c.entries, c.units);
    LiftQuantities q;
    const CalculationOutcome outcome = Calculate(view, q);
    EXPECT_EQ(outcome.result, c.result);
    EXPECT_EQ(outcome.about, c.about);
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(view.result, "0");
  }
  RecordingView view;
  view.Set({"10", "0.03", "1"}, {"m", "g", "秒"});
  LiftQuantities q;
  Calculate(view, q);
  EXPECT_EQ(q.LiftMass.ticks(), 0);  // kept as rounded, as any converted row
}

TEST(CalculateTest, OneCalculationFollowsTheRoadExactly) {
  RecordingView view;
  view.Set({"333", "60", "1"}, {"m", "kg", "分"});
  LiftQuantities q;
  const CalculationOutcome outcome = Calculate(view, q);
  EXPECT_EQ(q.LiftHeight.ticks(), 3330000);
  EXPECT_EQ(q.LiftMass.ticks(), 600000);
  EXPECT_EQ(q.LiftTime.ticks(), 600000);
  EXPECT_EQ(outcome.power, 19980.0 * 9.80665 / 60.0);
  EXPECT_EQ(view.calls, (std::vector<std::string>{"unit0", "entry0", "unit1", "entry1", "unit2", "entry2", "result"}));
}

TEST(CalculateTest, InitialStateComputesNothingAndKeepsTheBox) {
  RecordingView view;
  LiftQuantities q;
  const CalculationOutcome outcome = Calculate(view, q);
  EXPECT_EQ(outcome.result, ResultStatus::ZeroTime);
  EXPECT_FALSE(outcome.written);
  EXPECT_EQ(view.result, "0");
  EXPECT_EQ(view.calls.back(), "entry2");
}

TEST(CalculateTest, RowThatDoesNotConvertKeepsItsQuantityButNoNumberIsShown) {
  RecordingView view;
  LiftQuantities q;
  view.Set({"10", "2", "1"}, {"m", "kg", "秒"});
  Calculate(view, q);
  ASSERT_EQ(view.result, "196.133");

  struct Step {
    const char* name;
    std::array<std::string, 3> entries;
    std::array<std::string, 3> units;
    std::array<EntryStatus, 3> rows;
    ResultStatus result;
    double power;
  };
  const Step steps[] = {
      {"height not a number", {"abc", "2", "1"}, {"m", "kg", "秒"},
       {EntryStatus::NotANumber, EntryStatus::Converted, EntryStatus::Converted}, ResultStatus::Computed, 20 * StandardGravity},
      {"height unit mm", {"5", "2", "1"}, {"mm", "kg", "秒"},
       {EntryStatus::UnitNotRecognised, EntryStatus::Converted, EntryStatus::Converted}, ResultStatus::Computed,
       20 * StandardGravity},
      {"mass out of range", {"10", "1e300", "1"}, {"m", "t", "秒"},
       {EntryStatus::Converted, EntryStatus::OutOfRange, EntryStatus::Converted}, ResultStatus::Computed, 20 * StandardGravity},
      {"time zero", {"10", "2", "0"}, {"m", "kg", "秒"},
       {EntryStatus::Converted, EntryStatus::Converted, EntryStatus::Converted}, ResultStatus::ZeroTime, 0},
      {"time rounds to zero", {"10", "2", "0.00004"}, {"m", "kg", "秒"},
       {EntryStatus::Converted, EntryStatus::Converted, EntryStatus::Converted}, ResultStatus::TooFine, 0},
      {"product out of range", {"1000000", "1000000", "1"}, {"km", "t", "秒"},
       {EntryStatus::Converted, EntryStatus::Converted, EntryStatus::Converted}, ResultStatus::TooLarge, 0},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    view.Set(s.entries, s.units);
    view.result = "untouched";
    view.calls.clear();
    const LiftQuantities before = q;
    const CalculationOutcome outcome = Calculate(view, q);
    EXPECT_EQ(outcome.rows, s.rows);
    EXPECT_EQ(outcome.result, s.result);
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(view.result, "untouched");
    if (s.result == ResultStatus::Computed) {
      EXPECT_EQ(outcome.power, s.power);
    }
    // A failed row keeps what it had; a converted row takes the new value.
    for (Row row : kRows) {
      const Currency was = row == Row::Height ? before.LiftHeight : row == Row::Mass ? before.LiftMass : before.LiftTime;
      const Currency now = row == Row::Height ? q.LiftHeight : row == Row::Mass ? q.LiftMass : q.LiftTime;
      if (s.rows[Index(row)] != EntryStatus::Converted) {
        EXPECT_EQ(now, was) << "row " << Index(row);
      }
    }
    // Restore the good state for the next step.
    view.Set({"10", "2", "1"}, {"m", "kg", "秒"});
    Calculate(view, q);
  }
}

TEST(CalculateTest, UnrecognisedUnitDoesNotReadTheEntry) {
  RecordingView view;
  view.Set({"1", "1", "1"}, {"mm", "kg", "秒"});
  LiftQuantities q;
  Calculate(view, q);
  EXPECT_EQ(view.calls, (std::vector<std::string>{"unit0", "unit1", "entry1", "unit2", "entry2"}));
}

TEST(CalculateTest, FixingTheFaultyRowShowsTheNumberAgain) {
  RecordingView view;
  LiftQuantities q;
  view.Set({"abc", "1", "1"}, {"m", "kg", "秒"});
  EXPECT_FALSE(Calculate(view, q).written);
  EXPECT_EQ(view.result, "0");
  view.Set({"2", "1", "1"}, {"m", "kg", "秒"});
  EXPECT_TRUE(Calculate(view, q).written);
  EXPECT_EQ(view.result, "19.6133");
}

}  // namespace
}  // namespace calc
