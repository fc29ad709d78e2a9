// Particle emitter update cost at 500 and 5000 live particles.
#include "bench/BenchMain.h"

TARSEL_BENCHMARK_MAIN()
