// The gameplay benchmarks: each section of this folder registers its own; --smoke runs each
// briefly, as CI does.
#include "bench/BenchMain.h"

TARSEL_BENCHMARK_MAIN();
