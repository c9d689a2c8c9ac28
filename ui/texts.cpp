// SPDX-License-Identifier: MIT
#include "ui/texts.h"

#include <array>

#include "ui/control_table.h"

namespace ui {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::array<std::string_view, 3> kRowNames{"変位", "質量", "時間"};
// A quantity the 0.0001 step would make plainly wrong: in the result box, per row.
constexpr std::array<std::string_view, 3> kTooFine{"変位が小さすぎます", "質量が小さすぎます", "時間が短すぎます"};
constexpr std::string_view kTooFineProduct = "変位と質量の積が小さすぎます";
// A mass or a time below 0, which lifting cannot have (a negative height is a lowering).
constexpr std::array<std::string_view, 3> kNegative{"変位が負の数です", "質量が負の数です", "時間が負の数です"};

std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string out;
  for (std::string_view line : lines) {
    if (!out.empty()) out += kCrLf;
    out += line;
  }
  return out;
}

}  // namespace

std::string ReferenceMessage(calc::Row row) {
  switch (row) {
    case calc::Row::Height:
      return Lines({"持ち上げる高さです", "富士山の標高：3776m", "東京タワーの高さ：333m", "地球一周：40000km"});
    case calc::Row::Mass: return Lines({"持ち上げる物の重さです", "一円玉：1g", "あなたの体重：???kg"});
    case calc::Row::Time: break;
  }
  return Lines({"持ち上げることにかかる時間です", "公衆電話十円で話す：1分", ""});
}

std::string_view ReferenceButton(calc::Row row) {
  constexpr std::array<std::string_view, 3> kButtons{"Command1", "Command2", "Command4"};
  return kButtons[calc::Index(row)];
}

std::string_view RowProblem(calc::EntryStatus status) {
  switch (status) {
    case calc::EntryStatus::Converted: return {};
    case calc::EntryStatus::UnitNotRecognised: return "単位が分かりません";
    case calc::EntryStatus::NotANumber: return "数値ではありません";
    case calc::EntryStatus::OutOfRange: break;
  }
  return "値が大きすぎます";
}

std::string_view ResultProblem(calc::ResultStatus status) {
  switch (status) {
    case calc::ResultStatus::ZeroTime: return "時間が0です";
    case calc::ResultStatus::TooLarge: return "変位と質量の積が大きすぎます";
    case calc::ResultStatus::TooFine: return "値が小さすぎます";
    case calc::ResultStatus::Negative: return "負の数です";
    case calc::ResultStatus::Computed: break;
  }
  return {};
}

std::string ReasonText(const calc::CalculationOutcome& outcome) {
  for (calc::Row row : calc::kRows) {
    const calc::EntryStatus status = outcome.rows[calc::Index(row)];
    if (status == calc::EntryStatus::Converted) continue;
    std::string out(kRowNames[calc::Index(row)]);
    out += status == calc::EntryStatus::NotANumber ? "が" : "の";
    out += RowProblem(status);
    return out;
  }
  switch (outcome.result) {
    case calc::ResultStatus::ZeroTime: return std::string(ResultProblem(outcome.result));
    case calc::ResultStatus::TooLarge: return "結果が大きすぎます";
    case calc::ResultStatus::TooFine:
      return std::string(outcome.about ? kTooFine[calc::Index(*outcome.about)] : kTooFineProduct);
    case calc::ResultStatus::Negative: return std::string(kNegative[calc::Index(outcome.about.value_or(calc::Row::Time))]);
    case calc::ResultStatus::Computed: break;
  }
  return "計算できません";
}

FailureMarkList FailureMarks(const calc::CalculationOutcome& outcome) {
  FailureMarkList marks;
  if (outcome.written) return marks;
  for (calc::Row row : calc::kRows) {
    const calc::EntryStatus status = outcome.rows[calc::Index(row)];
    if (status == calc::EntryStatus::Converted) continue;
    const auto& names = status == calc::EntryStatus::UnitNotRecognised ? kUnitControls : kEntryControls;
    marks.push_back({names[calc::Index(row)], RowProblem(status)});
  }
  if (!marks.empty()) return marks;
  const std::string_view problem = ResultProblem(outcome.result);
  if (outcome.result == calc::ResultStatus::ZeroTime) {
    marks.push_back({kEntryControls[calc::Index(calc::Row::Time)], problem});
  } else if (outcome.result == calc::ResultStatus::TooLarge) {
    marks.push_back({kEntryControls[calc::Index(calc::Row::Height)], problem});
    marks.push_back({kEntryControls[calc::Index(calc::Row::Mass)], problem});
  } else if (outcome.result == calc::ResultStatus::TooFine || outcome.result == calc::ResultStatus::Negative) {
    if (outcome.about) {
      marks.push_back({kEntryControls[calc::Index(*outcome.about)], problem});
    } else {
      marks.push_back({kEntryControls[calc::Index(calc::Row::Height)], kTooFineProduct});
      marks.push_back({kEntryControls[calc::Index(calc::Row::Mass)], kTooFineProduct});
    }
  }
  return marks;
}

std::string MarkedTooltip(std::string_view usual, std::string_view problem) {
  std::string out(usual);
  if (!out.empty()) out += "：";
  out += problem;
  return out;
}

}  // namespace ui
