// Heap allocations made by the running thread, counted by the benchmark program's own
// operator new, so a benchmark can report how many a call makes.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

namespace velmora::bench {

std::uint64_t AllocationsSoFar();

// Reports the allocations per iteration of the loop that ran since `before` was taken.
inline void ReportAllocations(benchmark::State& state, std::uint64_t before) {
  state.counters["allocs"] = benchmark::Counter(static_cast<double>(AllocationsSoFar() - before),
                                                benchmark::Counter::kAvgIterations);
}

}  // namespace velmora::bench
