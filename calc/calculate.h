// SPDX-License-Identifier: MIT
// The power calculation: P = h * m * g / t.
//
// Calculate reads the rows through a LiftView, brings the retained
// LiftQuantities up to date, and writes the power in W through the view.
// A row whose unit is not recognised, or whose entry does not convert, keeps
// its previous quantity. Unlike a silent calculator, Calculate also says what
// went wrong, and it writes a number only when every row converted in this
// call and the result could be formed: a stale or half-stale number never
// reaches the result box. Nor does a number more than 1 % away from the
// power worked out from what was typed (the exact values, before the 0.0001
// step): there the quantities are kept as rounded, no number is written,
// and the outcome names the quantity whose rounding moved most. A number
// that is written is the original calculation's, bit for bit. A negative
// mass or time, and a time typed as 0, are reasons of their own; a negative
// height (a lowering) keeps its number. The caller decides how to show the
// outcome.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "calc/currency.h"
#include "calc/units.h"

namespace calc {

inline constexpr double StandardGravity = 9.80665;  // m/s^2

// The state the calculation keeps between calls; all zero at first.
struct LiftQuantities {
  Currency LiftHeight;  // m
  Currency LiftMass;    // kg
  Currency LiftTime;    // s
};

// What the calculation reads and writes. Texts are UTF-8.
class LiftView {
 public:
  virtual ~LiftView() = default;
  [[nodiscard]] virtual std::string UnitText(Row row) const = 0;
  [[nodiscard]] virtual std::string EntryText(Row row) const = 0;
  virtual void SetResultText(std::string_view text) = 0;
};

enum class ResultStatus : std::uint8_t {
  Computed,  // the power is a finite number
  ZeroTime,  // the time is 0 s: typed as 0, or (where a row did not convert) kept as 0
  Negative,  // the mass or the time typed is below 0 (`about` says which)
  TooLarge,  // height x mass, or the power, is beyond the range
  TooFine,   // the 0.0001 step would move the power by more than 1 %, or made
             // the time 0: `about` names the quantity rounded most
};

struct CalculationOutcome {
  std::array<EntryStatus, 3> rows{};  // indexed by Index(Row)
  ResultStatus result = ResultStatus::Computed;
  // For Negative and TooFine, the row the reason is about; for TooFine,
  // none means height x mass.
  std::optional<Row> about;
  double power = 0;      // W; meaningful only when result is Computed
  bool written = false;  // SetResultText was called with the power
};

// Per row: asks for the unit text, and for the entry text only when the unit
// is recognised; updates that row's quantity when the entry converts. Then
// forms the power from the quantities, and calls SetResultText at most once,
// last, when every row converted and the power is a number.
CalculationOutcome Calculate(LiftView& view, LiftQuantities& quantities);

}  // namespace calc
