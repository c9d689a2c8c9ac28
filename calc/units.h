// SPDX-License-Identifier: MIT
// The three input rows and their units, and the conversion of one row's
// (unit text, entry text) pair to a Currency in the row's base unit.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "calc/currency.h"
#include "calc/scientific.h"

namespace calc {

// The input rows, in screen order; the values are the row indexes 0, 1, 2.
enum class Row : std::uint8_t { Height = 0, Mass = 1, Time = 2 };
inline constexpr std::array<Row, 3> kRows{Row::Height, Row::Mass, Row::Time};
constexpr std::size_t Index(Row r) noexcept { return static_cast<std::size_t>(r); }

enum class Scaling : std::uint8_t {
  None,      // the base unit itself: the text goes straight to Currency
  Divide,    // through a double: x / factor
  Multiply,  // through a double: x * factor
};

struct Unit {
  Row row;
  std::string_view text;  // UTF-8, compared byte for byte
  Scaling scaling;
  double factor;
};

// Base units are metre, kilogram and second. Order matters: a row's unit
// text is compared with its units in this order.
inline constexpr std::array<Unit, 9> kUnits{{
    {Row::Height, "m", Scaling::None, 1.0},
    {Row::Height, "cm", Scaling::Divide, 100.0},
    {Row::Height, "km", Scaling::Multiply, 1000.0},
    {Row::Mass, "kg", Scaling::None, 1.0},
    {Row::Mass, "g", Scaling::Divide, 1000.0},
    {Row::Mass, "t", Scaling::Multiply, 1000.0},
    {Row::Time, "秒", Scaling::None, 1.0},
    {Row::Time, "分", Scaling::Multiply, 60.0},
    {Row::Time, "時間", Scaling::Multiply, 3600.0},
}};

// The row's unit whose text equals unit_text exactly (case-sensitive, no
// trimming, no width folding), or nullptr.
const Unit* FindUnit(Row row, std::string_view unit_text) noexcept;

enum class EntryStatus : std::uint8_t {
  Converted,          // value holds the quantity in the base unit
  UnitNotRecognised,  // the unit text is none of the row's units
  NotANumber,         // the entry text is not a number
  OutOfRange,         // the value, or its scaling, is beyond the range
};

struct EntryConversion {
  EntryStatus status = EntryStatus::UnitNotRecognised;
  Currency value;  // meaningful only when status is Converted
  // The entry's own value in the base unit, before any rounding to the tick
  // (1e-400 m is not 0): what the result is judged against. Meaningful only
  // when status is Converted.
  Scientific typed;
  [[nodiscard]] bool converted() const noexcept { return status == EntryStatus::Converted; }
};

// The entry in the unit's base unit. A base unit reads the text exactly to
// the tick; any other unit reads a double, scales it by one checked double
// operation (true divisions by 100 and 1000) and rounds that to the tick.
EntryConversion ConvertEntry(const Unit& unit, std::string_view entry_text) noexcept;

// The same, after finding the unit; the entry text is not looked at when the
// unit is not recognised.
EntryConversion ConvertEntry(Row row, std::string_view unit_text, std::string_view entry_text) noexcept;

}  // namespace calc
