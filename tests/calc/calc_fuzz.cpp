// SPDX-License-Identifier: MIT
// libFuzzer target: hostile text through both conversions and every unit.
// Checks that the two conversions agree on what is a number, that a value
// that converts prints and reads back to the same ticks, that the double
// route never disagrees with the direct one by more than rounding allows, and
// that the display form of any double reads back as a number.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "calc/calculate.h"
#include "calc/currency.h"
#include "calc/number_text.h"
#include "calc/units.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

std::string TicksText(calc::Currency c) {
  const std::int64_t t = c.ticks();
  const bool negative = t < 0;
  const std::uint64_t m = negative ? 0 - static_cast<std::uint64_t>(t) : static_cast<std::uint64_t>(t);
  std::string frac = std::to_string(m % 10000);
  frac.insert(0, 4 - frac.size(), '0');
  return (negative ? "-" : "") + std::to_string(m / 10000) + "." + frac;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const calc::Checked<calc::Currency> cy = calc::ParseCurrency(text);
  const calc::Checked<double> db = calc::ParseDouble(text);
  // Same notation for both: not-a-number agrees.
  Check((!cy && cy.failure() == calc::Failure::NotANumber) == (!db && db.failure() == calc::Failure::NotANumber));
  if (cy) {
    // Prints and re-reads to the same ticks.
    const std::optional<calc::Currency> again = calc::CurrencyFromText(TicksText(cy.value()));
    Check(again && *again == cy.value());
    // Any Currency is well inside the double range, and the double rounds to
    // the same tick or a neighbour.
    Check(db.ok());
    const std::optional<calc::Currency> via = calc::CurrencyFromDouble(db.value());
    if (via) Check(std::llabs(via->ticks() - cy.value().ticks()) <= 1 || std::fabs(db.value()) > 1e11);
  }
  if (db) {
    const std::string shown = calc::TextFromDouble(db.value());
    // The display form is always a number; only 15-digit rounding at the very
    // top of the double range may print a value just beyond it.
    const calc::Checked<double> back = calc::ParseDouble(shown);
    Check(back.ok() || (back.failure() == calc::Failure::OutOfRange && std::fabs(db.value()) > 1.79e308));
  }

  for (const calc::Unit& unit : calc::kUnits) {
    const calc::EntryConversion c = calc::ConvertEntry(unit, text);
    if (unit.scaling == calc::Scaling::None) Check(c.converted() == cy.ok());
  }

  // A whole calculation with this text in every entry box.
  struct View : calc::LiftView {
    std::string_view entry;
    std::string UnitText(calc::Row row) const override {
      return std::string(calc::kUnits[calc::Index(row) * 3 + 1].text);
    }
    std::string EntryText(calc::Row) const override { return std::string(entry); }
    void SetResultText(std::string_view t) override { Check(!t.empty()); }
  } view;
  view.entry = text;
  calc::LiftQuantities q;
  calc::Calculate(view, q);
  return 0;
}
