// Renderable benchmarks: octree re-filing against libspatialindex's R*-tree, debug-drawer filling
// and dynamic-mesh sphere building. Each group lives in its own file beside this one.
#include "bench/BenchMain.h"

TARSEL_BENCHMARK_MAIN()
