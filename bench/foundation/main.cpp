// Foundation benchmarks: block pools against malloc, matrix products against Eigen, frustum culling.
// Each group lives in its own file beside this one.
#include "bench/BenchMain.h"

TARSEL_BENCHMARK_MAIN()
