// SPDX-License-Identifier: MIT
#include "calc/units.h"

#include "calc/arithmetic.h"
#include "calc/number_text.h"

namespace calc {

namespace {

EntryStatus StatusOf(Failure f) noexcept {
  return f == Failure::NotANumber ? EntryStatus::NotANumber : EntryStatus::OutOfRange;
}

}  // namespace

const Unit* FindUnit(Row row, std::string_view unit_text) noexcept {
  for (const Unit& unit : kUnits) {
    if (unit.row == row && unit.text == unit_text) return &unit;
  }
  return nullptr;
}

EntryConversion ConvertEntry(const Unit& unit, std::string_view entry_text) noexcept {
  // The same grammar as the conversions below: it reads whatever they read.
  const Checked<Scientific> typed = ParseScientific(entry_text);
  if (unit.scaling == Scaling::None) {
    const Checked<Currency> direct = ParseCurrency(entry_text);
    if (!direct) return {StatusOf(direct.failure()), {}, {}};
    return {EntryStatus::Converted, direct.value(), typed.value()};
  }
  const Checked<double> x = ParseDouble(entry_text);
  if (!x) return {StatusOf(x.failure()), {}, {}};
  const Checked<double> scaled = unit.scaling == Scaling::Divide ? CheckedDivide(x.value(), unit.factor)
                                                                 : CheckedMultiply(x.value(), unit.factor);
  if (!scaled) return {EntryStatus::OutOfRange, {}, {}};
  const Checked<Currency> value = CheckedCurrencyFromDouble(scaled.value());
  if (!value) return {EntryStatus::OutOfRange, {}, {}};
  const Scientific factor = ScientificFromDouble(unit.factor);
  return {EntryStatus::Converted, value.value(),
          unit.scaling == Scaling::Divide ? Over(typed.value(), factor) : Times(typed.value(), factor)};
}

EntryConversion ConvertEntry(Row row, std::string_view unit_text, std::string_view entry_text) noexcept {
  const Unit* unit = FindUnit(row, unit_text);
  if (unit == nullptr) return {EntryStatus::UnitNotRecognised, {}, {}};
  return ConvertEntry(*unit, entry_text);
}

}  // namespace calc
