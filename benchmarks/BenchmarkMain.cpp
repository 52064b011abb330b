#include <benchmark/benchmark.h>

// The one entry point of the benchmark executable, whose files come from every area.
BENCHMARK_MAIN();
