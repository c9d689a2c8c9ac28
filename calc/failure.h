// SPDX-License-Identifier: MIT
// Failures of the numeric core, as values.
//
// Nothing in calc/ throws or reports; every operation that can fail returns a
// Checked<T> holding either its value or one of these reasons. The window maps
// a reason to its own words; no user-visible text lives here.
#pragma once

#include <cstdint>
#include <variant>

namespace calc {

enum class Failure : std::uint8_t {
  NotANumber,    // the text is empty, blank, or not in the accepted notation
  OutOfRange,    // the value lies outside the target type's range, or a
                 // double step overflowed or gave a result that is not a number
  DivideByZero,  // a division by zero, 0 / 0 included
};

// Either a value or the reason there is none. Deliberately small: only what
// the core and its callers need, with no exceptions on any path.
template <class T>
class Checked {
 public:
  constexpr Checked(T value) noexcept : state_(value) {}          // NOLINT: implicit by design
  constexpr Checked(Failure failure) noexcept : state_(failure) {}  // NOLINT

  [[nodiscard]] constexpr bool ok() const noexcept { return state_.index() == 0; }
  constexpr explicit operator bool() const noexcept { return ok(); }
  // Precondition: ok().
  [[nodiscard]] constexpr T value() const noexcept { return *std::get_if<T>(&state_); }
  // Precondition: !ok().
  [[nodiscard]] constexpr Failure failure() const noexcept { return *std::get_if<Failure>(&state_); }

 private:
  std::variant<T, Failure> state_;
};

}  // namespace calc
