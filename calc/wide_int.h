// The 128-bit intermediates of exact fixed-point arithmetic.
#pragma once

#include <cstdint>

namespace calc::detail {

__extension__ typedef unsigned __int128 U128;  // NOLINT: GCC and clang both have it
__extension__ typedef __int128 I128;           // NOLINT

static_assert(sizeof(U128) == 16, "exact products of two 64-bit tick counts need 128 bits");

// The largest magnitude of a Currency with the given sign, in ticks.
constexpr std::uint64_t TickLimit(bool negative) noexcept {
  return negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
}

}  // namespace calc::detail
