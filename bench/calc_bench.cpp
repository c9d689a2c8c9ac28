// SPDX-License-Identifier: MIT
// Figures for the numeric core: run build/bench/calc_bench.
#include <benchmark/benchmark.h>

#include <string>

#include "calc/calculate.h"
#include "calc/currency.h"

namespace {

void BM_CurrencyFromText(benchmark::State& state) {
  const std::string text = "12,345.6789";
  for (auto _ : state) benchmark::DoNotOptimize(calc::CurrencyFromText(text));
}
BENCHMARK(BM_CurrencyFromText);

void BM_DoubleFromText(benchmark::State& state) {
  const std::string text = "１２３．４５６";
  for (auto _ : state) benchmark::DoNotOptimize(calc::DoubleFromText(text));
}
BENCHMARK(BM_DoubleFromText);

void BM_TextFromDouble(benchmark::State& state) {
  double x = 3265.61445;
  for (auto _ : state) benchmark::DoNotOptimize(calc::TextFromDouble(x));
}
BENCHMARK(BM_TextFromDouble);

void BM_CurrencyFromTextMegabyte(benchmark::State& state) {
  const std::string text = "0." + std::string(1 << 20, '0') + "1";
  for (auto _ : state) benchmark::DoNotOptimize(calc::CurrencyFromText(text));
  state.SetBytesProcessed(static_cast<long>(state.iterations()) * static_cast<long>(text.size()));
}
BENCHMARK(BM_CurrencyFromTextMegabyte);

class FixedView : public calc::LiftView {
 public:
  std::string UnitText(calc::Row row) const override {
    static const std::string units[] = {"m", "kg", "分"};
    return units[calc::Index(row)];
  }
  std::string EntryText(calc::Row row) const override {
    static const std::string entries[] = {"333", "60", "1"};
    return entries[calc::Index(row)];
  }
  void SetResultText(std::string_view text) override { result.assign(text); }
  std::string result;
};

void BM_Calculate(benchmark::State& state) {
  FixedView view;
  calc::LiftQuantities q;
  for (auto _ : state) benchmark::DoNotOptimize(calc::Calculate(view, q));
}
BENCHMARK(BM_Calculate);

}  // namespace
