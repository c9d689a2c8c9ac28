// SPDX-License-Identifier: MIT
#include "calc/calculate.h"

#include "calc/arithmetic.h"

namespace calc {

namespace {

Currency& QuantityOf(LiftQuantities& q, Row row) noexcept {
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

}  // namespace

CalculationOutcome Calculate(LiftView& view, LiftQuantities& quantities) {
  CalculationOutcome outcome;
  bool all_converted = true;
  for (Row row : kRows) {
    EntryStatus status = EntryStatus::UnitNotRecognised;
    if (const Unit* unit = FindUnit(row, view.UnitText(row))) {
      const EntryConversion c = ConvertEntry(*unit, view.EntryText(row));
      status = c.status;
      if (c.converted()) QuantityOf(quantities, row) = c.value;
      outcome.coarse[Index(row)] = c.coarse;
    }
    outcome.rows[Index(row)] = status;
    all_converted = all_converted && status == EntryStatus::Converted;
  }

  // Height x mass in fixed point, then times g, then divided by the time,
  // each step rounded to double and checked.
  const Checked<Currency> product = CheckedCurrencyMultiply(quantities.LiftHeight, quantities.LiftMass);
  if (!product) {
    outcome.result = StatusOf(product.failure());
    return outcome;
  }
  const Checked<double> energy = CheckedMultiply(DoubleFromCurrency(product.value()), StandardGravity);
  if (!energy) {
    outcome.result = StatusOf(energy.failure());
    return outcome;
  }
  const Checked<double> power = CheckedDivide(energy.value(), DoubleFromCurrency(quantities.LiftTime));
  if (!power) {
    outcome.result = StatusOf(power.failure());
    return outcome;
  }
  outcome.power = power.value();
  outcome.coarse_product = MovedByTheTick(
      DoubleFromCurrency(quantities.LiftHeight) * DoubleFromCurrency(quantities.LiftMass), product.value());
  if (outcome.coarse_product || outcome.coarse[0] || outcome.coarse[1] || outcome.coarse[2]) {
    outcome.result = ResultStatus::TooFine;
    return outcome;
  }
  if (all_converted) {
    view.SetResultText(TextFromDouble(outcome.power));
    outcome.written = true;
  }
  return outcome;
}

}  // namespace calc
