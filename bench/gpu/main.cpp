// GPU benchmarks on headless OpenGL (SDL_VIDEODRIVER=offscreen, llvmpipe). Each group lives in
// its own file beside this one.
#include "bench/BenchMain.h"

TARSEL_BENCHMARK_MAIN()
