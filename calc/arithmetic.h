// SPDX-License-Identifier: MIT
// The calculation's own arithmetic, each step checked.
//
// A double multiplication or division fails where IEEE 754 would raise
// invalid operation, division by zero or overflow; underflow and inexact
// results are fine. The checks look at operands and result rather than at the
// floating-point environment, so they hold whatever the compiler reorders.
#pragma once

#include "calc/currency.h"
#include "calc/failure.h"

namespace calc {

// a * b and a / b rounded once to the nearest double, ties to even, as IEEE
// 754 asks, on every processor. Where the compiler evaluates doubles in a
// wider format (32-bit x86's x87 registers: FLT_EVAL_METHOD 2), the wide
// result would be rounded a second time when stored, now and then one unit
// off in the last place; there the wide result is mended with the exact
// remainder (std::fma). Elsewhere these are the plain operations.
double Product(double a, double b) noexcept;
double Quotient(double a, double b) noexcept;

// a * b. Failure::OutOfRange when the result is infinite or not a number.
Checked<double> CheckedMultiply(double a, double b) noexcept;

// a / b. Failure::DivideByZero when b is zero (0 / 0 included),
// Failure::OutOfRange when the result is infinite or not a number.
Checked<double> CheckedDivide(double a, double b) noexcept;

// As CurrencyFromDouble and CurrencyMultiply, saying why they failed
// (always Failure::OutOfRange).
Checked<Currency> CheckedCurrencyFromDouble(double x) noexcept;
Checked<Currency> CheckedCurrencyMultiply(Currency a, Currency b) noexcept;

}  // namespace calc
