// The command line's script mode: a script of Letras calls read, called and written out as
// `velmora --script FILE > out` does it, without the process start. Beside it in the same run,
// BM_LetrasByName is the call alone; the difference is what reading and writing a line costs.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "output.h"
#include "script.h"
#include "session.h"

namespace velmora {
namespace {

constexpr std::size_t kLines = 100'000;

// A script of kLines "Letras <amount>" lines, amounts with cents up to 10^9, the same every run.
std::string WriteScript() {
  std::string path = "/tmp/velmora_bench_script_" + std::to_string(::getpid()) + ".vsc";
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (f == nullptr) return {};
  std::uint64_t x = 0x9E3779B97F4A7C15ULL;
  for (std::size_t i = 0; i < kLines; ++i) {
    x = x * 6364136223846793005ULL + 1442695040888963407ULL;
    const std::uint64_t cents = (x >> 16) % 100'000'000'001ULL;
    std::fprintf(f, "Letras %llu.%02llu\n", static_cast<unsigned long long>(cents / 100),
                 static_cast<unsigned long long>(cents % 100));
  }
  std::fclose(f);
  return path;
}

void BM_ScriptLetras(benchmark::State& state) {
  const std::string path = WriteScript();
  const int sink = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (path.empty() || sink < 0) {
    state.SkipWithError("no scratch file or /dev/null");
    return;
  }
  cli::Output out(sink, sink, false);
  cli::Session session({}, FixedServices(Date{}), out);
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    benchmark::DoNotOptimize(cli::RunScript(session, fd, path, out));
    out.Flush();
    ::close(fd);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kLines));
  state.counters["time_per_line"] = benchmark::Counter(
      static_cast<double>(state.iterations() * kLines),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
  ::close(sink);
  std::remove(path.c_str());
}
BENCHMARK(BM_ScriptLetras)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora
