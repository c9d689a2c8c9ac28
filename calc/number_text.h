// SPDX-License-Identifier: MIT
// Reading numbers typed by a person.
//
// Accepted notation (one grammar for both conversions):
//  1. Full-width forms U+FF01..U+FF5E are first read as their ASCII
//     counterparts ("１２．５", "－３" are numbers: Japanese input methods type
//     these), the minus sign U+2212 as '-' (the full-width form Mozc gives a
//     typed '-': "−３") and the ideographic space U+3000 as a space.
//  2. Leading and trailing spaces and tabs are ignored.
//  3. One optional sign, '+' or '-'.
//  4. Digits with an optional decimal point: "5", "5.", ".5"; at least one
//     digit. The integer part may group its digits by three with ','
//     ("1,000", "12,345,678.5"; never "1,00", ",100" or "1000,000").
//  5. An optional exponent: 'e' or 'E', an optional sign, one or more digits.
// Anything else fails with Failure::NotANumber: empty or blank text, "inf",
// "nan", hex, "1.2.3", "--1", "1e", "e5", "1 000", invalid UTF-8.
//
// Cost: two linear passes over the text, no allocation. Exponents of any size
// are handled without materialising them ("1e-999999999" is 0).
#pragma once

#include <string_view>

#include "calc/currency.h"
#include "calc/failure.h"
#include "calc/scientific.h"

namespace calc {

// Exact decimal rounding to the nearest tick, ties to even.
// Failure::NotANumber or Failure::OutOfRange.
Checked<Currency> ParseCurrency(std::string_view utf8) noexcept;

// The correctly rounded double. Failure::NotANumber, or Failure::OutOfRange
// when the magnitude is beyond the largest double.
Checked<double> ParseDouble(std::string_view utf8) noexcept;

// The text's value to 17 significant digits, however large or small its
// exponent ("1e-400" is not 0). Failure::NotANumber only.
Checked<Scientific> ParseScientific(std::string_view utf8) noexcept;

}  // namespace calc
