// SPDX-License-Identifier: MIT
#include "calc/calculate.h"

#include "calc/arithmetic.h"
#include "calc/scientific.h"

namespace calc {

namespace {

template <class Quantities>  // LiftQuantities, const or not
auto& QuantityOf(Quantities& q, Row row) noexcept {
  switch (row) {
    case Row::Height: return q.LiftHeight;
    case Row::Mass: return q.LiftMass;
    case Row::Time: break;
  }
  return q.LiftTime;
}

ResultStatus StatusOf(Failure f) noexcept {
  return f == Failure::DivideByZero ? ResultStatus::ZeroTime : ResultStatus::TooLarge;
}

// The original's result statement: height x mass in fixed point, then times
// g, then divided by the time, each step rounded to double and checked.
Checked<double> Power(const LiftQuantities& q, Currency& product) noexcept {
  const Checked<Currency> p = CheckedCurrencyMultiply(q.LiftHeight, q.LiftMass);
  if (!p) return p.failure();
  product = p.value();
  const Checked<double> energy = CheckedMultiply(DoubleFromCurrency(product), StandardGravity);
  if (!energy) return energy.failure();
  return CheckedDivide(energy.value(), DoubleFromCurrency(q.LiftTime));
}

// Moves within a billionth of each other are the same move: the first of
// height, mass, time, then height x mass, is named.
constexpr double kSameMove = 1e-9;

// The quantity whose rounding to the tick moved it most, as a share of its
// exact value: a row, or none for height x mass.
std::optional<Row> MovedMost(const LiftQuantities& q, const std::array<Scientific, 3>& typed, Currency product) {
  std::array<double, kRows.size() + 1> moves{};  // the rows by Index, then height x mass
  for (Row row : kRows) moves[Index(row)] = RelativeDistance(DoubleFromCurrency(QuantityOf(q, row)), typed[Index(row)]);
  const Scientific exact_product =
      Times(ScientificFromDouble(DoubleFromCurrency(q.LiftHeight)), ScientificFromDouble(DoubleFromCurrency(q.LiftMass)));
  moves.back() = RelativeDistance(DoubleFromCurrency(product), exact_product);
  std::size_t most = 0;
  for (std::size_t i = 1; i < moves.size(); ++i) {
    if (moves[i] > moves[most] + kSameMove * moves[most]) most = i;
  }
  if (most == kRows.size()) return std::nullopt;
  return kRows[most];
}

}  // namespace

CalculationOutcome Calculate(LiftView& view, LiftQuantities& quantities) {
  CalculationOutcome outcome;
  std::array<Scientific, 3> typed{};
  bool all_converted = true;
  for (Row row : kRows) {
    EntryStatus status = EntryStatus::UnitNotRecognised;
    if (const Unit* unit = FindUnit(row, view.UnitText(row))) {
      const EntryConversion c = ConvertEntry(*unit, view.EntryText(row));
      status = c.status;
      if (c.converted()) {
        QuantityOf(quantities, row) = c.value;
        typed[Index(row)] = c.typed;
      }
    }
    outcome.rows[Index(row)] = status;
    all_converted = all_converted && status == EntryStatus::Converted;
  }

  Currency product;
  const Checked<double> power = Power(quantities, product);
  if (power) outcome.power = power.value();
  if (!all_converted) {
    // The rows say what is wrong; the result is told only for the record.
    if (!power) outcome.result = StatusOf(power.failure());
    return outcome;
  }

  const auto refuse = [&](ResultStatus status, std::optional<Row> about) {
    outcome.result = status;
    outcome.about = about;
    return outcome;
  };
  for (Row row : {Row::Mass, Row::Time}) {
    if (typed[Index(row)].negative()) return refuse(ResultStatus::Negative, row);
  }
  if (typed[Index(Row::Time)].zero()) return refuse(ResultStatus::ZeroTime, std::nullopt);
  if (quantities.LiftTime == Currency{}) return refuse(ResultStatus::TooFine, Row::Time);
  if (!power) return refuse(StatusOf(power.failure()), std::nullopt);

  // Judged against what was typed: h x m x g / t from the exact values.
  const Scientific exact = Over(Times(Times(typed[Index(Row::Height)], typed[Index(Row::Mass)]),
                                      ScientificFromDouble(StandardGravity)), typed[Index(Row::Time)]);
  if (RelativeDistance(outcome.power, exact) > 0.01) {
    return refuse(ResultStatus::TooFine, MovedMost(quantities, typed, product));
  }
  view.SetResultText(TextFromDouble(outcome.power));
  outcome.written = true;
  return outcome;
}

}  // namespace calc
