// SPDX-License-Identifier: MIT
// The core's answer to a fixed set of cases, one line each: what the
// calculation decided and the power's bits. Built for each processor and
// compared line by line, it shows whether the core computes the same bits
// everywhere. The cases come from a fixed generator of integer steps, so
// every processor makes the same ones.
//
//   calc_cases [COUNT]    (20000 unless told)
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "calc/calculate.h"

namespace {

// A linear congruential generator (Knuth's MMIX constants): integers only.
class Steps {
 public:
  std::uint32_t Next(std::uint32_t below) {
    state_ = state_ * 6364136223846793005u + 1442695040888963407u;
    return static_cast<std::uint32_t>((state_ >> 33) % below);
  }

 private:
  std::uint64_t state_ = 20261211;
};

// A number as a pupil might type it: up to eight digits, a point somewhere,
// now and then a sign or an exponent.
std::string Entry(Steps& s) {
  const std::string whole = std::to_string(1 + s.Next(99'999'999) / (1 + s.Next(10'000)));
  const std::size_t point = s.Next(static_cast<std::uint32_t>(whole.size()) + 4);  // digits after the point
  std::string digits = whole;
  if (point > whole.size()) {
    digits = "0." + std::string(point - whole.size(), '0') + whole;
  } else if (point > 0) {
    digits = whole.substr(0, whole.size() - point) + "." + whole.substr(whole.size() - point);
  }
  switch (s.Next(40)) {
    case 0: return "-" + digits;
    case 1: return digits + "e-" + std::to_string(s.Next(12));
    case 2: return digits + "e" + std::to_string(s.Next(9));
    case 3: return "0";
    default: return digits;
  }
}

class CaseView : public calc::LiftView {
 public:
  std::string units[3], entries[3], result;
  std::string UnitText(calc::Row row) const override { return units[calc::Index(row)]; }
  std::string EntryText(calc::Row row) const override { return entries[calc::Index(row)]; }
  void SetResultText(std::string_view text) override { result = std::string(text); }
};

}  // namespace

int main(int argc, char** argv) {
  const long count = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 20000;
  static constexpr const char* kUnitTexts[3][3] = {{"m", "cm", "km"}, {"kg", "g", "t"}, {"秒", "分", "時間"}};
  Steps steps;
  for (long i = 0; i < count; ++i) {
    CaseView view;
    for (int row = 0; row < 3; ++row) {
      view.units[row] = kUnitTexts[row][steps.Next(3)];
      view.entries[row] = Entry(steps);
    }
    calc::LiftQuantities q;
    const calc::CalculationOutcome outcome = calc::Calculate(view, q);
    std::uint64_t bits = 0;
    std::memcpy(&bits, &outcome.power, sizeof bits);
    std::printf("%s %s %s %s %s %s -> %d %d %016" PRIx64 " %s\n", view.entries[0].c_str(), view.units[0].c_str(),
                view.entries[1].c_str(), view.units[1].c_str(), view.entries[2].c_str(), view.units[2].c_str(),
                static_cast<int>(outcome.result), outcome.about ? static_cast<int>(calc::Index(*outcome.about)) : -1,
                bits, outcome.written ? view.result.c_str() : "-");
  }
  return 0;
}
