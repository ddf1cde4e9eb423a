// Amount in words: the direct call, the same call by name, the C++ face in both wordings, and
// ICU's Spanish spell-out as the yardstick, all over the same amounts.
#include <benchmark/benchmark.h>
#include <unicode/locid.h>
#include <unicode/rbnf.h>
#include <unicode/unistr.h>

#include <cstdint>
#include <vector>

#include "velmora/amounts.h"
#include "velmora/dispatch.h"
#include "velmora/dolva.h"
#include "velmora/services.h"

namespace velmora {
namespace {

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
  for (auto _ : state) {
    Currency amount = amounts[i];
    benchmark::DoNotOptimize(d.Letras(amount, m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7]));
    if (++i == amounts.size()) i = 0;
  }
}
BENCHMARK(BM_Letras);

void BM_LetrasByName(benchmark::State& state) {
  const auto& amounts = Amounts();
  Dolva d(FixedServices(Date{}));
  std::vector<Argument> args(1);
  std::size_t i = 0;
  for (auto _ : state) {
    args[0].value = Variant(amounts[i]);
    benchmark::DoNotOptimize(Invoke(d, u"Letras", args));
    if (++i == amounts.size()) i = 0;
  }
}
BENCHMARK(BM_LetrasByName);

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
