// SPDX-License-Identifier: MIT
// The window's calculation table (tests/ui/calculations.json), compiled in:
// what is typed into the three rows, and what the result box shows.
#pragma once

#include <array>
#include <string_view>

namespace tressin_tests {

struct CalculationRow {
  std::string_view name;
  std::string_view shown;   // the number; empty when a reason is shown instead
  std::string_view reason;  // the reason in the result box
  std::string_view marked;  // one box the reason marks, by control name
  std::array<std::string_view, 3> entries;
  std::array<std::string_view, 3> units;
};

inline constexpr CalculationRow kCalculationTable[] = {
#include "calculation_table.inc"
};

}  // namespace tressin_tests
