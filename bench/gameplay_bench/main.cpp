// The gameplay benchmarks. Sections with their own printout and peer (MotorSection.h) run
// first; the Google Benchmark sections of this folder register themselves and run after.
// --smoke runs each briefly, as CI does.
#include "MotorSection.h"

#include "bench/BenchMain.h"

#include <cstring>

int main(int argc, char** argv)
{
    bool smoke = false;
    for (int i = 1; i < argc; ++i)
        smoke = smoke || std::strcmp(argv[i], "--smoke") == 0;
    tarselbench::MotorSection(smoke);
    return tarselbench::RunBenchmarks(argc, argv);
}
