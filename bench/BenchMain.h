#pragma once
// main() for Google Benchmark executables: `--smoke` becomes a tiny run that CI can afford.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

namespace tarselbench {

inline bool& SmokeRun()
{
    static bool smoke = false;
    return smoke;
}

inline int RunBenchmarks(int argc, char** argv)
{
    std::vector<char*> args;
    static std::string minTime = "--benchmark_min_time=0.01";
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0) {
            SmokeRun() = true;
            args.push_back(minTime.data());
        } else {
            args.push_back(argv[i]);
        }
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace tarselbench

#define TARSEL_BENCHMARK_MAIN() \
    int main(int argc, char** argv) { return tarselbench::RunBenchmarks(argc, argv); }
