// Day numbers and date wording against the standard library's and ICU's own conversions.
#include <benchmark/benchmark.h>
#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <chrono>
#include <vector>

#include "linux/icu_locale.h"
#include "velmora/dolva.h"
#include "velmora/services.h"

namespace velmora {
namespace {

// The same 4096 dates for every benchmark, spread over the whole automation range.
const std::vector<CivilDate>& Dates() {
  static const std::vector<CivilDate> dates = [] {
    std::vector<CivilDate> out;
    const std::int64_t first = DaysFromCivil({100, 1, 1});
    const std::int64_t span = DaysFromCivil({9999, 12, 31}) - first;
    for (std::int64_t i = 0; i < 4096; ++i) out.push_back(CivilFromDays(first + i * 7919 % span));
    return out;
  }();
  return dates;
}

void BM_CalcFDias(benchmark::State& state) {
  Dolva dolva(FixedServices(Date{}));
  struct Args {
    Currency d, m, y;
  };
  std::vector<Args> args;
  for (const CivilDate& c : Dates()) {
    args.push_back(
        {Currency::FromWhole(c.day), Currency::FromWhole(c.month), Currency::FromWhole(c.year)});
  }
  for (auto _ : state) {
    for (auto& a : args) benchmark::DoNotOptimize(dolva.CalcFDias(a.d, a.m, a.y));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(args.size()));
}
BENCHMARK(BM_CalcFDias);

void BM_DaysFromCivil(benchmark::State& state) {
  using namespace std::chrono;
  std::vector<year_month_day> args;
  for (const CivilDate& c : Dates()) {
    args.emplace_back(year{c.year}, month{static_cast<unsigned>(c.month)},
                      day{static_cast<unsigned>(c.day)});
  }
  for (auto _ : state) {
    for (auto& a : args) {
      benchmark::DoNotOptimize(a);
      benchmark::DoNotOptimize(sys_days(a).time_since_epoch().count());
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(args.size()));
}
BENCHMARK(BM_DaysFromCivil);

void BM_Edad(benchmark::State& state) {
  Dolva dolva(FixedServices(Date{}));
  std::vector<Date> dates;
  for (const CivilDate& c : Dates()) dates.push_back(MakeDate(c));
  Date end = MakeDate({9999, 12, 31});
  for (auto _ : state) {
    for (Date& d : dates) {
      std::u16string mode = u"L";
      bool drop = true, show = true;
      // Ages up to the end of the range: every span is a valid day count.
      Date from{d.serial / 2};
      benchmark::DoNotOptimize(dolva.Edad(from, end.serial < d.serial ? end : d, mode, drop, show));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(dates.size()));
}
BENCHMARK(BM_Edad);

void BM_Fechador(benchmark::State& state) {
  Dolva dolva(FixedServices(Date{}, linux_platform::IcuLocaleData("es_MX")));
  std::vector<Variant> dates;
  for (const CivilDate& c : Dates()) dates.emplace_back(MakeDate(c));
  Variant lang = u"E", place = Variant::Missing(), long_form = true, time = false;
  for (auto _ : state) {
    for (Variant& d : dates) {
      benchmark::DoNotOptimize(dolva.Fechador(d, lang, place, long_form, time));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(dates.size()));
}
BENCHMARK(BM_Fechador);

void BM_IcuDateFormat(benchmark::State& state) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Locale loc("es_MX");
  auto* calendar = new icu::GregorianCalendar(icu::TimeZone::getGMT()->clone(), loc, status);
  calendar->setGregorianChange(-1e300, status);
  icu::SimpleDateFormat format(icu::UnicodeString(u"EEEE, d 'de' MMMM 'de' y"), loc, status);
  format.adoptCalendar(calendar);
  if (U_FAILURE(status)) {
    state.SkipWithError("ICU formatter unavailable");
    return;
  }
  std::vector<UDate> dates;
  for (const CivilDate& c : Dates())
    dates.push_back(static_cast<UDate>(DaysFromCivil(c)) * 86'400'000.0);
  for (auto _ : state) {
    for (UDate d : dates) {
      icu::UnicodeString out;
      format.format(d, out);
      benchmark::DoNotOptimize(out);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(dates.size()));
}
BENCHMARK(BM_IcuDateFormat);

}  // namespace
}  // namespace velmora
