// SPDX-License-Identifier: MIT
// The window's fixed texts that are not captions (the titles, the three
// reference messages, the words for a calculation that gave no number) and
// which boxes such a calculation marks. Plain C++ and UTF-8, so the desktop
// window and the web page take them from this one place.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "calc/calculate.h"

namespace ui {

inline constexpr std::string_view kWindowTitle = "Kobrel";
// The title of the message boxes: the product name.
inline constexpr std::string_view kApplicationTitle = "Tressin";
// The companion page, relative to the current directory at the click.
inline constexpr std::string_view kCompanionPage = "./denryoku.html";

// The reference message of a row, lines joined by CR LF exactly as shown to
// the user; the time message ends with a CR LF.
std::string ReferenceMessage(calc::Row row);

// The "参考" button that shows a row's reference message.
std::string_view ReferenceButton(calc::Row row);

// Why a row did not convert, as a short phrase for a tooltip ("数値ではありません").
// Empty for a converted row.
std::string_view RowProblem(calc::EntryStatus status);

// Why the result could not be formed, as a phrase for the tooltip of the
// boxes at fault. Empty when it was computed.
std::string_view ResultProblem(calc::ResultStatus status);

// The text for the result box when Calculate wrote no number: the first
// failing row and why, or else why the result could not be formed.
// Precondition: !outcome.written.
std::string ReasonText(const calc::CalculationOutcome& outcome);

// A box that stopped the calculation, by its control name, and why.
struct FailureMark {
  std::string_view control;  // "Text1(2)", "Combo1", ...
  std::string_view problem;
};

// At most one box a row: a list of its own size, which allocates nothing.
class FailureMarkList {
 public:
  void push_back(FailureMark mark) noexcept {
    if (count_ < marks_.size()) marks_[count_++] = mark;
  }
  [[nodiscard]] const FailureMark* begin() const noexcept { return marks_.data(); }
  [[nodiscard]] const FailureMark* end() const noexcept { return marks_.data() + count_; }
  [[nodiscard]] bool empty() const noexcept { return count_ == 0; }

 private:
  std::array<FailureMark, 3> marks_{};
  std::size_t count_ = 0;
};

// The boxes to mark after a calculation: none when a number was written;
// else each row that did not convert (its unit box when the unit was not
// recognised, its entry box otherwise), or, when every row converted, the
// boxes behind the failed result.
FailureMarkList FailureMarks(const calc::CalculationOutcome& outcome);

// The tooltip of a marked box: its usual tooltip and the problem.
std::string MarkedTooltip(std::string_view usual, std::string_view problem);

}  // namespace ui
