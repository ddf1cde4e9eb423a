// Amount in words: the direct call, the same call by name and through an entry resolved once,
// the C++ face in both wordings, and two yardsticks over the same amounts: ICU's Spanish
// spell-out and the plainest table-lookup wording of the same text. A cheap routine, the parity
// test, shows what a call by name costs on its own.
#include <benchmark/benchmark.h>
#include <unicode/locid.h>
#include <unicode/rbnf.h>
#include <unicode/unistr.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "allocations.h"
#include "letras_floor.h"
#include "velmora/amounts.h"
#include "velmora/dispatch.h"
#include "velmora/dolva.h"
#include "velmora/services.h"

namespace velmora {
namespace {

// A host names the routine with a text it holds, its length known.
using namespace std::string_view_literals;
using bench::AllocationsSoFar;
using bench::FloorGroups;
using bench::LetrasFloor;
using bench::ReportAllocations;

// One million amounts from 0 to 10^9 with cents, the same on every run.
const std::vector<Currency>& Amounts() {
  static const std::vector<Currency> amounts = [] {
    constexpr std::size_t kCount = 1'000'000;
    constexpr std::uint64_t kMaxCents = 100'000'000'000;  // 10^9 in cents
    std::vector<Currency> out;
    out.reserve(kCount);
    std::uint64_t x = 0x9E3779B97F4A7C15ULL;
    for (std::size_t i = 0; i < kCount; ++i) {
      x = x * 6364136223846793005ULL + 1442695040888963407ULL;
      const std::uint64_t cents = (x >> 16) % (kMaxCents + 1);
      out.push_back(Currency::FromScaled(static_cast<std::int64_t>(cents * 100)));
    }
    return out;
  }();
  return amounts;
}

void BM_Letras(benchmark::State& state) {
  const auto& amounts = Amounts();
  Dolva d(FixedServices(Date{}));
  Variant m[8] = {Variant::Missing(), Variant::Missing(), Variant::Missing(), Variant::Missing(),
                  Variant::Missing(), Variant::Missing(), Variant::Missing(), Variant::Missing()};
  std::size_t i = 0;
  const std::uint64_t before = AllocationsSoFar();
  for (auto _ : state) {
    Currency amount = amounts[i];
    benchmark::DoNotOptimize(d.Letras(amount, m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7]));
    if (++i == amounts.size()) i = 0;
  }
  ReportAllocations(state, before);
}
BENCHMARK(BM_Letras);

// The floor: the same text by the plainest table lookup, one string grown by appends.
void BM_LetrasFloor(benchmark::State& state) {
  const auto& amounts = Amounts();
  FloorGroups();
  std::size_t i = 0;
  const std::uint64_t before = AllocationsSoFar();
  for (auto _ : state) {
    benchmark::DoNotOptimize(LetrasFloor(amounts[i]));
    if (++i == amounts.size()) i = 0;
  }
  ReportAllocations(state, before);
}
BENCHMARK(BM_LetrasFloor);

void BM_LetrasByName(benchmark::State& state) {
  const auto& amounts = Amounts();
  Dolva d(FixedServices(Date{}));
  std::vector<Argument> args(1);
  std::size_t i = 0;
  const std::uint64_t before = AllocationsSoFar();
  for (auto _ : state) {
    args[0].value = Variant(amounts[i]);
    benchmark::DoNotOptimize(Invoke(d, u"Letras"sv, args));
    if (++i == amounts.size()) i = 0;
  }
  ReportAllocations(state, before);
}
BENCHMARK(BM_LetrasByName);

// The name resolved once to its entry, as the command line and the COM server hold it.
void BM_LetrasResolved(benchmark::State& state) {
  const auto& amounts = Amounts();
  Dolva d(FixedServices(Date{}));
  const Operation& op = *FindOperation(Interface::kDolva, u"Letras");
  std::vector<Argument> args(1);
  std::size_t i = 0;
  const std::uint64_t before = AllocationsSoFar();
  for (auto _ : state) {
    args[0].value = Variant(amounts[i]);
    benchmark::DoNotOptimize(Invoke(&d, op, args));
    if (++i == amounts.size()) i = 0;
  }
  ReportAllocations(state, before);
}
BENCHMARK(BM_LetrasResolved);

// The same entry with positional arguments only: no names, no argument records.
void BM_LetrasPositional(benchmark::State& state) {
  const auto& amounts = Amounts();
  Dolva d(FixedServices(Date{}));
  const Operation& op = *FindOperation(Interface::kDolva, u"Letras");
  Variant amount;
  std::size_t i = 0;
  const std::uint64_t before = AllocationsSoFar();
  for (auto _ : state) {
    amount = Variant(amounts[i]);
    benchmark::DoNotOptimize(Invoke(&d, op, std::span(&amount, 1)));
    if (++i == amounts.size()) i = 0;
  }
  ReportAllocations(state, before);
}
BENCHMARK(BM_LetrasPositional);

// 4096 numbers of every sign, the same on every run.
const std::vector<std::int16_t>& Numbers() {
  static const std::vector<std::int16_t> numbers = [] {
    std::vector<std::int16_t> out;
    std::uint32_t x = 12345;
    for (int i = 0; i < 4096; ++i) {
      x = x * 1664525u + 1013904223u;
      out.push_back(static_cast<std::int16_t>(x >> 16));
    }
    return out;
  }();
  return numbers;
}

void BM_EsNumeroPar(benchmark::State& state) {
  const auto& numbers = Numbers();
  Dolva d(FixedServices(Date{}));
  std::size_t i = 0;
  for (auto _ : state) {
    std::int16_t n = numbers[i];
    benchmark::DoNotOptimize(d.EsNumeroPar(n));
    i = (i + 1) % numbers.size();
  }
}
BENCHMARK(BM_EsNumeroPar);

void BM_EsNumeroParByName(benchmark::State& state) {
  const auto& numbers = Numbers();
  Dolva d(FixedServices(Date{}));
  std::vector<Argument> args(1);
  std::size_t i = 0;
  const std::uint64_t before = AllocationsSoFar();
  for (auto _ : state) {
    args[0].value = Variant(numbers[i]);
    benchmark::DoNotOptimize(Invoke(d, u"EsNumeroPar"sv, args));
    i = (i + 1) % numbers.size();
  }
  ReportAllocations(state, before);
}
BENCHMARK(BM_EsNumeroParByName);

void BM_EsNumeroParResolved(benchmark::State& state) {
  const auto& numbers = Numbers();
  Dolva d(FixedServices(Date{}));
  const Operation& op = *FindOperation(Interface::kDolva, u"EsNumeroPar");
  std::vector<Argument> args(1);
  std::size_t i = 0;
  const std::uint64_t before = AllocationsSoFar();
  for (auto _ : state) {
    args[0].value = Variant(numbers[i]);
    benchmark::DoNotOptimize(Invoke(&d, op, args));
    i = (i + 1) % numbers.size();
  }
  ReportAllocations(state, before);
}
BENCHMARK(BM_EsNumeroParResolved);

void BM_EsNumeroParPositional(benchmark::State& state) {
  const auto& numbers = Numbers();
  Dolva d(FixedServices(Date{}));
  const Operation& op = *FindOperation(Interface::kDolva, u"EsNumeroPar");
  Variant number;
  std::size_t i = 0;
  const std::uint64_t before = AllocationsSoFar();
  for (auto _ : state) {
    number = Variant(numbers[i]);
    benchmark::DoNotOptimize(Invoke(&d, op, std::span(&number, 1)));
    i = (i + 1) % numbers.size();
  }
  ReportAllocations(state, before);
}
BENCHMARK(BM_EsNumeroParPositional);

void BM_AmountInWords(benchmark::State& state) {
  const auto& amounts = Amounts();
  const AmountOptions options{.wording = static_cast<Wording>(state.range(0))};
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(AmountInWords(amounts[i], options));
    if (++i == amounts.size()) i = 0;
  }
  state.SetLabel(options.wording == Wording::kModern ? "modern" : "legacy");
}
BENCHMARK(BM_AmountInWords)
    ->Arg(static_cast<int>(Wording::kLegacy))
    ->Arg(static_cast<int>(Wording::kModern));

void BM_IcuSpellout(benchmark::State& state) {
  const auto& amounts = Amounts();
  UErrorCode status = U_ZERO_ERROR;
  icu::RuleBasedNumberFormat format(icu::URBNF_SPELLOUT, icu::Locale("es"), status);
  if (U_FAILURE(status)) {
    state.SkipWithError("no Spanish spell-out rules");
    return;
  }
  icu::UnicodeString text;
  std::size_t i = 0;
  for (auto _ : state) {
    text.remove();
    format.format(amounts[i].ToDouble(), text);
    benchmark::DoNotOptimize(text.getBuffer());
    if (++i == amounts.size()) i = 0;
  }
}
BENCHMARK(BM_IcuSpellout);

}  // namespace
}  // namespace velmora
