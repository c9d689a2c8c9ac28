// SPDX-License-Identifier: MIT
// The calculation table, as every edition shows it: the number, or the
// reason and the box it marks.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "calculation_table.h"
#include "ui/texts.h"

namespace ui {
namespace {

class TableView : public calc::LiftView {
 public:
  explicit TableView(const tressin_tests::CalculationRow& row) : row_(row) {}
  std::string UnitText(calc::Row r) const override { return std::string(row_.units[calc::Index(r)]); }
  std::string EntryText(calc::Row r) const override { return std::string(row_.entries[calc::Index(r)]); }
  void SetResultText(std::string_view text) override { result = std::string(text); }
  std::string result = "0";

 private:
  const tressin_tests::CalculationRow& row_;
};

TEST(CalculationTableTest, EachRowShowsItsNumberOrItsReason) {
  for (const auto& row : tressin_tests::kCalculationTable) {
    SCOPED_TRACE(row.name);
    TableView view(row);
    calc::LiftQuantities q;
    const calc::CalculationOutcome outcome = calc::Calculate(view, q);
    if (!row.shown.empty()) {
      EXPECT_TRUE(outcome.written);
      EXPECT_EQ(view.result, row.shown);
      EXPECT_TRUE(FailureMarks(outcome).empty());
      continue;
    }
    ASSERT_FALSE(outcome.written);
    EXPECT_EQ(ReasonText(outcome), row.reason);
    const FailureMarkList marks = FailureMarks(outcome);
    EXPECT_TRUE(std::any_of(marks.begin(), marks.end(), [&](const FailureMark& m) { return m.control == row.marked; }))
        << "the box " << row.marked << " is not marked";
    for (const FailureMark& m : marks) EXPECT_FALSE(m.problem.empty()) << m.control;
  }
}

}  // namespace
}  // namespace ui
