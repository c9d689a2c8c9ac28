// SPDX-License-Identifier: MIT
// The power calculation: P = h * m * g / t.
//
// Calculate reads the rows through a LiftView, brings the retained
// LiftQuantities up to date, and writes the power in W through the view.
// A row whose unit is not recognised, or whose entry does not convert, keeps
// its previous quantity. Unlike a silent calculator, Calculate also says what
// went wrong, and it writes a number only when every row converted in this
// call and the result could be formed: a stale or half-stale number never
// reaches the result box. Nor does a number that the 0.0001 step has made
// plainly wrong: where rounding to the tick moved an entered quantity, or
// height x mass, by more than 1 % of its exact value, the quantities are
// kept as before but no number is written. The caller decides how to show
// the outcome.
#pragma once

#include <array>
#include <cstdint>
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
  ZeroTime,  // the time is 0 s (after rounding to the tick)
  TooLarge,  // height x mass, or the power, is beyond the range
  TooFine,   // a quantity entered now, or height x mass, moved by more than
             // 1 % when rounded to the tick: the power would be plainly wrong
};

struct CalculationOutcome {
  std::array<EntryStatus, 3> rows{};  // indexed by Index(Row)
  std::array<bool, 3> coarse{};       // converted now, but moved by the tick (EntryConversion::coarse)
  bool coarse_product = false;        // height x mass moved by the tick
  ResultStatus result = ResultStatus::Computed;
  double power = 0;      // W; meaningful only when result is Computed
  bool written = false;  // SetResultText was called with the power
};

// Per row: asks for the unit text, and for the entry text only when the unit
// is recognised; updates that row's quantity when the entry converts. Then
// forms the power from the quantities, and calls SetResultText at most once,
// last, when every row converted and the power is a number.
CalculationOutcome Calculate(LiftView& view, LiftQuantities& quantities);

}  // namespace calc
