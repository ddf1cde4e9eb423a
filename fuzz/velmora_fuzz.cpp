// Calls every operation of the public surface by name with arguments built from the input.
//
// A call must either return or raise one of the runtime errors its entry documents; anything
// else (a crash, a sanitizer report, a hang, another exception or an undocumented number) is a
// finding. Every platform service is a fake: no window, dialog, camera or restart is reached.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "fuzz_services.h"
#include "velmora/dispatch.h"
#include "velmora/error.h"
#include "velmora/utf.h"

namespace velmora {
namespace {

const std::vector<const Operation*>& Callable() {
  static const std::vector<const Operation*> ops = [] {
    std::vector<const Operation*> v;
    for (const auto& op : Surface()) {
      if (op.binding.fn != nullptr) v.push_back(&op);
    }
    return v;
  }();
  return ops;
}

std::u16string FuzzText(FuzzedDataProvider& in) {
  static const char16_t* const kSeeds[] = {
      u"",           u" ",          u"  /  /    ", u"15/03/2009", u"31/02/2009", u"08:30",
      u"08:30:15",   u"23:59:59",   u"-5400",      u"1F",         u"FFFFFFFF",   u"11111111",
      u"abc",        u"1e308",      u"&HFFFF",     u"0011",       u"1X1",        u"Año",
      u"dieciséis",  u"€",          u"\uFFFF",     u"\xD800",     u"12:00 PM",   u"2009-03-15",
      u"9999-12-31", u"0100-01-01", u"True",       u"Falso",      u"Null",       u"txt"};
  switch (in.ConsumeIntegralInRange(0, 7)) {
    case 0:
    case 1: return kSeeds[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kSeeds) - 1)];
    case 2:
    case 3:
    case 4: return FromUtf8(in.ConsumeRandomLengthString(64));
    case 5:
    case 6: {
      std::u16string s;
      const auto n = in.ConsumeIntegralInRange<std::size_t>(0, 24);
      for (std::size_t i = 0; i < n; ++i) s.push_back(in.ConsumeIntegral<char16_t>());
      return s;
    }
    default: {
      // A run of one character: up to a thousand, or just past the 16-bit lengths. Long runs
      // are few, as each costs a thousand short calls.
      static constexpr std::size_t kLong[] = {32'767, 32'768, 65'535, 65'536, 70'000};
      const std::size_t n = in.ConsumeIntegralInRange(0, 15) == 0
                                ? kLong[in.ConsumeIntegralInRange<std::size_t>(0, 4)]
                                : in.ConsumeIntegralInRange<std::size_t>(0, 1'000);
      const auto c = static_cast<char16_t>(in.ConsumeIntegralInRange<int>(0x20, 0x7E));
      return std::u16string(n, c);
    }
  }
}

Variant FuzzValue(FuzzedDataProvider& in, FuzzServices& fakes) {
  switch (in.ConsumeIntegralInRange(0, 12)) {
    case 0: return {};
    case 1: return Variant::Null();
    case 2: return Variant::Missing();
    case 3: return Variant(in.ConsumeIntegral<std::uint8_t>());
    case 4: return Variant(in.ConsumeIntegral<std::int16_t>());
    case 5: return Variant(in.ConsumeIntegral<std::int32_t>());
    case 6: return Variant(Currency::FromScaled(in.ConsumeIntegral<std::int64_t>()));
    case 7: {
      static const double kEdges[] = {0.0,    -0.0,     0.5,     2.5,          1e15, -1e15,   1e308,
                                      -1e308, 4.9e-324, 32767.5, 2147483647.5, NAN,  INFINITY};
      if (in.ConsumeBool()) return Variant(kEdges[in.ConsumeIntegralInRange<std::size_t>(0, 12)]);
      return Variant(in.ConsumeFloatingPoint<double>());
    }
    case 8: {
      static const double kEdges[] = {
          kMinDateSerial,     kMaxDateSerial + 0.99999, -1.25,        0.0,
          kMinDateSerial - 1, kMaxDateSerial + 1,       39887.7291666};
      if (in.ConsumeBool())
        return Variant(Date{kEdges[in.ConsumeIntegralInRange<std::size_t>(0, 6)]});
      return Variant(Date{in.ConsumeFloatingPointInRange<double>(-700'000.0, 3'000'000.0)});
    }
    case 9:
    case 10: return Variant(FuzzText(in));
    case 11: return Variant(in.ConsumeBool());
    default: return fakes.FuzzObject();
  }
}

[[noreturn]] void Finding(const Operation& op, const std::string& what) {
  std::fprintf(stderr, "FINDING in %s: %s\n", ToUtf8(op.name).c_str(), what.c_str());
  std::abort();
}

}  // namespace
}  // namespace velmora

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora;
  FuzzedDataProvider in(data, size);
  const auto& ops = Callable();
  if (ops.empty()) return 0;
  const Operation& op = *ops[in.ConsumeIntegralInRange<std::size_t>(0, ops.size() - 1)];
  FuzzServices fakes(in);
  std::vector<Argument> args(in.ConsumeIntegralInRange<std::size_t>(0, op.params.size() + 1));
  for (auto& a : args) {
    if (in.ConsumeIntegralInRange(0, 7) == 0) {
      // A named argument: usually one of the operation's own names, sometimes a stranger.
      if (!op.params.empty() && in.ConsumeBool()) {
        a.name = op.params[in.ConsumeIntegralInRange<std::size_t>(0, op.params.size() - 1)].name;
      } else {
        a.name = u"Nada";
      }
    }
    a.value = FuzzValue(in, fakes);
  }
  const std::vector<int> allowed = DocumentedErrors(op);
  try {
    if (op.iface == Interface::kDolva) {
      Dolva self(fakes.services());
      Invoke(&self, op, args);
    } else {
      APIs self(fakes.services());
      Invoke(&self, op, args);
    }
  } catch (const Error& e) {
    if (!std::binary_search(allowed.begin(), allowed.end(), e.number())) {
      Finding(op, "undocumented error " + std::to_string(e.number()) + " (" +
                      ToUtf8(e.description(true)) + ")");
    }
  } catch (const std::bad_alloc&) {
    Finding(op, "out of memory");
  } catch (const std::exception& e) {
    Finding(op, std::string("exception ") + e.what());
  }
  return 0;
}
